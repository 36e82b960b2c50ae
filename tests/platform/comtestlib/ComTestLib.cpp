#include "ComTestLib.h"
#include "ComSingleClassServer.h"

namespace {

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

}  // namespace

RUV_COM_SINGLE_CLASS_SERVER(Counter,
                            (Com::ClassRegistration{ComTest::CLSID_Counter, QStringLiteral("Counter Class"),
                                                    QStringLiteral("ComTest.Counter.1"),
                                                    QStringLiteral("ComTest.Counter"), QStringLiteral("both")}))
