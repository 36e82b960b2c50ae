#include "ComTestLib.h"
#include "ComObject.h"
#include "ComServer.h"

namespace {

Com::ModuleLock& Module()
{
    static Com::ModuleLock lock;
    return lock;
}

class Counter final : public Com::Object<ComTest::ICounter, ComTest::INamed>
{
public:
    explicit Counter(Com::ModuleLock* module) : Object(module) {}

    void Add(int delta) override
    {
        m_value += delta;
        const int v = m_value;
        m_events.Raise([v](ComTest::ICounterEvents& e) { e.Changed(v); });
    }
    int Value() const override { return m_value; }
    void SetEvents(ComTest::ICounterEvents* sink) override { m_events.Set(sink); }
    const char* Name() const override { return "Counter"; }

private:
    int m_value = 0;
    Com::EventSink<ComTest::ICounterEvents> m_events;
};

Com::ClassRegistration Registration()
{
    return {ComTest::CLSID_Counter, QStringLiteral("Counter Class"), QStringLiteral("ComTest.Counter.1"),
            QStringLiteral("ComTest.Counter"), QStringLiteral("both")};
}

}  // namespace

extern "C" RUV_COM_EXPORT Com::HRESULT DllGetClassObject(const Com::Guid& clsid, const Com::Guid& iid, void** out)
{
    return Com::GetClassObjectFor<Counter>(clsid, ComTest::CLSID_Counter, &Module(), iid, out);
}

extern "C" RUV_COM_EXPORT Com::HRESULT DllCanUnloadNow()
{
    return Module().CanUnload() ? Com::S_OK : Com::S_FALSE;
}

extern "C" RUV_COM_EXPORT Com::HRESULT DllRegisterServer()
{
    return Com::RegisterClass(Registration(), Com::ModulePathOf(reinterpret_cast<const void*>(&DllRegisterServer)));
}

extern "C" RUV_COM_EXPORT Com::HRESULT DllUnregisterServer()
{
    return Com::UnregisterClass(Registration());
}

extern "C" RUV_COM_EXPORT long ComTestLiveObjects()
{
    return Module().Count();
}
