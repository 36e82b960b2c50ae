#include "ComClient.h"
#include "ComObject.h"
#include "ComServer.h"
#include "ComTestLib.h"
#include "RegistryStore.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>

using namespace Com;

namespace {

TEST(ComGuid, ParsesAndFormatsTheBracedForm)
{
    struct Case
    {
        const char* text;
        bool valid;
    };
    const Case cases[] = {
        {"{36AA9294-9ABE-4E7F-9D2A-DB9B96D5D066}", true},
        {"{36aa9294-9abe-4e7f-9d2a-db9b96d5d066}", true},
        {"36AA9294-9ABE-4E7F-9D2A-DB9B96D5D066", true},
        {"{36AA9294-9ABE-4E7F-9D2A-DB9B96D5D06}", false},   // one digit short
        {"{36AA9294-9ABE-4E7F-9D2A-DB9B96D5D066", false},   // no closing brace
        {"(36AA9294-9ABE-4E7F-9D2A-DB9B96D5D066)", false},  // wrong brackets
        {"{36AA9294-9ABE-4E7F-9D2ADDB9B96D5D066}", false},  // dash missing
        {"{36AA9294-9ABE-4E7F-9D2A-DB9B96D5D06G}", false},  // not hex
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto g = Guid::Parse(QString::fromLatin1(c.text));
        ASSERT_EQ(g.has_value(), c.valid);
        if (c.valid) {
            EXPECT_EQ(g->ToString(), QStringLiteral("{36AA9294-9ABE-4E7F-9D2A-DB9B96D5D066}"));
        }
    }
    constexpr Guid g = MakeGuid("{00112233-4455-6677-8899-AABBCCDDEEFF}");
    EXPECT_EQ(g.Data1, 0x00112233u);
    EXPECT_EQ(g.Data2, 0x4455u);
    EXPECT_EQ(g.Data3, 0x6677u);
    EXPECT_EQ(g.Data4[0], 0x88u);
    EXPECT_EQ(g.Data4[7], 0xFFu);
    EXPECT_NE(g, IUnknown::IID);
}

class IA : public IUnknown
{
public:
    static constexpr Guid IID = MakeGuid("{11111111-0000-0000-0000-000000000001}");
    virtual int A() = 0;
};
class IB : public IUnknown
{
public:
    static constexpr Guid IID = MakeGuid("{11111111-0000-0000-0000-000000000002}");
    virtual int B() = 0;
};

int g_destroyed = 0;

class AB final : public Object<IA, IB>
{
public:
    explicit AB(ModuleLock* m = nullptr) : Object(m) {}
    int A() override { return 1; }
    int B() override { return 2; }

private:
    ~AB() override { ++g_destroyed; }
};

TEST(ComObject, CountsReferencesAndAnswersItsInterfaces)
{
    ModuleLock module;
    g_destroyed = 0;
    auto ab = ComPtr<IA>::Attach(new AB(&module));
    EXPECT_EQ(module.Count(), 1);

    ComPtr<IB> b = ab.As<IB>();
    ASSERT_TRUE(b);
    EXPECT_EQ(b->B(), 2);

    // Every interface gives the same IUnknown: the object's identity.
    ComPtr<IUnknown> u1 = ab.As<IUnknown>();
    ComPtr<IUnknown> u2 = b.As<IUnknown>();
    EXPECT_EQ(u1.Get(), u2.Get());

    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(ab->QueryInterface(MakeGuid("{22222222-0000-0000-0000-000000000000}"), &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(ab->QueryInterface(IA::IID, nullptr), E_POINTER);

    // ab, b, u1, u2 hold four references; one more and back.
    EXPECT_EQ(ab->AddRef(), 5u);
    EXPECT_EQ(ab->Release(), 4u);

    ab = nullptr;
    b = nullptr;
    u1 = nullptr;
    EXPECT_EQ(g_destroyed, 0);
    EXPECT_FALSE(module.CanUnload());
    u2 = nullptr;
    EXPECT_EQ(g_destroyed, 1);
    EXPECT_TRUE(module.CanUnload());
}

TEST(ComObject, FactoryRefusesAggregationAndLocksTheServer)
{
    ModuleLock module;
    const Guid clsid = MakeGuid("{33333333-0000-0000-0000-000000000000}");
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(GetClassObjectFor<AB>(IA::IID, clsid, &module, IClassFactory::IID, factory.PutVoid()),
              CLASS_E_CLASSNOTAVAILABLE);
    ASSERT_EQ(GetClassObjectFor<AB>(clsid, clsid, &module, IClassFactory::IID, factory.PutVoid()), S_OK);
    ASSERT_TRUE(factory);

    ComPtr<IA> a;
    ComPtr<IUnknown> outer = factory.As<IUnknown>();
    EXPECT_EQ(factory->CreateInstance(outer.Get(), IA::IID, a.PutVoid()), CLASS_E_NOAGGREGATION);
    EXPECT_FALSE(a);
    ASSERT_EQ(factory->CreateInstance(nullptr, IA::IID, a.PutVoid()), S_OK);
    EXPECT_EQ(a->A(), 1);

    // An interface the object lacks: nothing is made, nothing leaks.
    ComPtr<IClassFactory> wrong;
    EXPECT_EQ(factory->CreateInstance(nullptr, IClassFactory::IID, wrong.PutVoid()), E_NOINTERFACE);

    outer = nullptr;
    EXPECT_EQ(factory->LockServer(true), S_OK);
    factory = nullptr;
    a = nullptr;
    EXPECT_FALSE(module.CanUnload());  // the server lock holds it
    ComPtr<IClassFactory> again;
    GetClassObjectFor<AB>(clsid, clsid, &module, IClassFactory::IID, again.PutVoid());
    again->LockServer(false);
    again = nullptr;
    EXPECT_TRUE(module.CanUnload());
}

class Sink final : public Object<ComTest::ICounterEvents>
{
public:
    void Changed(int value) override
    {
        last = value;
        ++calls;
        if (onChanged)
            onChanged();
    }
    int last = 0;
    int calls = 0;
    std::function<void()> onChanged;
};

const QString kLib = QStringLiteral(RUV_COMTESTLIB_PATH);

TEST(ComClient, CreatesFromALibraryFileAndRaisesEventsToTheSink)
{
    ComPtr<ComTest::ICounter> counter;
    ASSERT_EQ(CreateInstanceFromFile(kLib, ComTest::CLSID_Counter, ComTest::ICounter::IID, counter.PutVoid()), S_OK)
        << LastLoadError().toStdString();
    ASSERT_TRUE(counter);
    ComPtr<ComTest::INamed> named = counter.As<ComTest::INamed>();
    ASSERT_TRUE(named);
    EXPECT_STREQ(named->Name(), "Counter");

    auto sink = ComPtr<Sink>::Attach(new Sink);
    counter->SetEvents(sink.Get());
    counter->Add(3);
    counter->Add(4);
    EXPECT_EQ(sink->last, 7);
    EXPECT_EQ(sink->calls, 2);

    // A handler that clears the sink (dropping the object's reference to
    // it) while the event runs is safe.
    sink->onChanged = [&] { counter->SetEvents(nullptr); };
    counter->Add(1);
    counter->Add(1);
    EXPECT_EQ(sink->calls, 3);
    EXPECT_EQ(counter->Value(), 9);

    // The library stays loaded for good; its live-object count answers
    // DllCanUnloadNow.
    void* handle = dlopen(kLib.toLocal8Bit().constData(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(handle, nullptr);
    auto canUnload = reinterpret_cast<DllCanUnloadNowFn>(dlsym(handle, "DllCanUnloadNow"));
    ASSERT_NE(canUnload, nullptr);
    EXPECT_EQ(canUnload(), S_FALSE);
    named = nullptr;
    counter = nullptr;
    EXPECT_EQ(canUnload(), S_OK);
    dlclose(handle);
}

TEST(ComClient, ReportsWhyALibraryGivesNoObject)
{
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CreateInstanceFromFile(QStringLiteral("/nonexistent/libnothing.so"), ComTest::CLSID_Counter,
                                     ComTest::ICounter::IID, &out),
              CO_E_DLLNOTFOUND);
    EXPECT_EQ(out, nullptr);
    EXPECT_FALSE(LastLoadError().isEmpty());
    EXPECT_EQ(CreateInstanceFromFile(QString(), ComTest::CLSID_Counter, ComTest::ICounter::IID, &out),
              CO_E_DLLNOTFOUND);
    // A library without the entry point.
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<const void*>(&dlopen), &info), 0);
    EXPECT_EQ(CreateInstanceFromFile(QString::fromLocal8Bit(info.dli_fname), ComTest::CLSID_Counter,
                                     ComTest::ICounter::IID, &out),
              CO_E_ERRORINDLL);
    // A class the library does not serve.
    EXPECT_EQ(CreateInstanceFromFile(kLib, IA::IID, ComTest::ICounter::IID, &out), CLASS_E_CLASSNOTAVAILABLE);
    // An interface the object lacks.
    EXPECT_EQ(CreateInstanceFromFile(kLib, ComTest::CLSID_Counter, IA::IID, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(CreateInstanceFromFile(kLib, ComTest::CLSID_Counter, IA::IID, nullptr), E_POINTER);
}

TEST(ComServer, NamesTheKeysOfAClass)
{
    const Guid g = MakeGuid("{36AA9294-9ABE-4E7F-9D2A-DB9B96D5D066}");
    EXPECT_EQ(ClassKeyPath(g), QStringLiteral("HKCR\\CLSID\\{36AA9294-9ABE-4E7F-9D2A-DB9B96D5D066}"));
    EXPECT_EQ(InprocServerKeyPath(g),
              QStringLiteral("HKCR\\CLSID\\{36AA9294-9ABE-4E7F-9D2A-DB9B96D5D066}\\InprocServer32"));
    EXPECT_TRUE(ModulePathOf(nullptr).isEmpty());
    EXPECT_TRUE(ModulePathOf(reinterpret_cast<const void*>(&ClassKeyPath)).startsWith(QLatin1Char('/')));
}

// Registration goes into a store of the test's own.
class ComRegistration : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_old = qgetenv("RUVADIR_REGISTRY");
        qputenv("RUVADIR_REGISTRY", m_dir.path().toLocal8Bit());
    }
    void TearDown() override
    {
        if (m_old.isNull())
            qunsetenv("RUVADIR_REGISTRY");
        else
            qputenv("RUVADIR_REGISTRY", m_old);
    }
    QTemporaryDir m_dir;
    QByteArray m_old;
};

TEST_F(ComRegistration, RegistersCreatesByClassIdAndUnregisters)
{
    using RuvPlatform::RegistryHive;
    using RuvPlatform::RegistryStore;
    ComPtr<ComTest::ICounter> counter;
    EXPECT_EQ(CreateInstance(ComTest::CLSID_Counter, counter), REGDB_E_CLASSNOTREG);

    ASSERT_EQ(RegisterServerFile(kLib), S_OK);
    const QString clsid = ComTest::CLSID_Counter.ToString();
    EXPECT_EQ(RegisteredServerPath(ComTest::CLSID_Counter), QFileInfo(kLib).absoluteFilePath());
    RegistryStore& store = RegistryStore::Instance();
    const QString classKey = QStringLiteral("CLSID\\") + clsid;
    auto value = [&](const QString& key, const QString& name) {
        const auto v = store.Value(RegistryHive::ClassesRoot, key, name);
        return v ? v->text : QStringLiteral("<missing>");
    };
    EXPECT_EQ(value(classKey, QString()), QStringLiteral("Counter Class"));
    EXPECT_EQ(value(classKey, QStringLiteral("ProgID")), QStringLiteral("ComTest.Counter.1"));
    EXPECT_EQ(value(classKey, QStringLiteral("VersionIndependentProgID")), QStringLiteral("ComTest.Counter"));
    EXPECT_EQ(value(classKey + QStringLiteral("\\InprocServer32"), QStringLiteral("ThreadingModel")),
              QStringLiteral("both"));
    EXPECT_EQ(value(QStringLiteral("ComTest.Counter\\CLSID"), QString()), clsid);

    ASSERT_EQ(CreateInstance(ComTest::CLSID_Counter, counter), S_OK);
    counter->Add(2);
    EXPECT_EQ(counter->Value(), 2);
    counter = nullptr;

    ASSERT_EQ(UnregisterServerFile(kLib), S_OK);
    EXPECT_FALSE(store.KeyExists(RegistryHive::ClassesRoot, classKey));
    EXPECT_FALSE(store.KeyExists(RegistryHive::ClassesRoot, QStringLiteral("ComTest.Counter.1")));
    EXPECT_TRUE(store.KeyExists(RegistryHive::ClassesRoot, QStringLiteral("CLSID")));
    EXPECT_EQ(CreateInstance(ComTest::CLSID_Counter, counter), REGDB_E_CLASSNOTREG);
    // Unregistering what is not registered is no error.
    EXPECT_EQ(UnregisterServerFile(kLib), S_OK);
}

TEST_F(ComRegistration, AClassWhoseLibraryIsGoneIsReportedNotLoaded)
{
    const ClassRegistration reg{ComTest::CLSID_Counter, QStringLiteral("Counter Class"), QString(), QString(),
                                QString()};
    ASSERT_EQ(RegisterClass(reg, m_dir.path() + QStringLiteral("/gone.so")), S_OK);
    void* out = nullptr;
    EXPECT_EQ(CreateInstance(ComTest::CLSID_Counter, ComTest::ICounter::IID, &out), CO_E_DLLNOTFOUND);
    EXPECT_EQ(RegisterClass(reg, QString()), SELFREG_E_CLASS);
    EXPECT_EQ(UnregisterClass(reg), S_OK);
}

TEST_F(ComRegistration, RegistersWhenNeededOnly)
{
    const QString lib = QFileInfo(kLib).absoluteFilePath();
    const ClassRegistration reg{ComTest::CLSID_Counter, QStringLiteral("Counter Class"), QString(), QString(),
                                QString()};
    // No key: registered.
    EXPECT_EQ(RegisterServerFileWhenNeeded(kLib, ComTest::CLSID_Counter), S_OK);
    EXPECT_EQ(RegisteredServerPath(ComTest::CLSID_Counter), lib);

    // A key naming a file that exists is left as it is.
    const QString other = m_dir.path() + QStringLiteral("/other.so");
    QFile(other).open(QIODevice::WriteOnly);
    ASSERT_EQ(RegisterClass(reg, other), S_OK);
    EXPECT_EQ(RegisterServerFileWhenNeeded(kLib, ComTest::CLSID_Counter), S_FALSE);
    EXPECT_EQ(RegisteredServerPath(ComTest::CLSID_Counter), other);

    // A key naming a gone file is renewed.
    ASSERT_EQ(RegisterClass(reg, m_dir.path() + QStringLiteral("/gone.so")), S_OK);
    EXPECT_EQ(RegisterServerFileWhenNeeded(kLib, ComTest::CLSID_Counter), S_OK);
    EXPECT_EQ(RegisteredServerPath(ComTest::CLSID_Counter), lib);

    // A library that does not load: its loader's reason, the key unchanged.
    ASSERT_EQ(UnregisterServerFile(kLib), S_OK);
    const QString broken = m_dir.path() + QStringLiteral("/broken.so");
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a library");
    }
    EXPECT_EQ(RegisterServerFileWhenNeeded(broken, ComTest::CLSID_Counter), CO_E_DLLNOTFOUND);
    EXPECT_FALSE(LastLoadError().isEmpty());
    EXPECT_TRUE(RegisteredServerPath(ComTest::CLSID_Counter).isEmpty());
}

}  // namespace
