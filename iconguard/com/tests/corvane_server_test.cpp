// The server contract through the DLL's own exports: class objects, the
// factory, interface identity and the module's lock count.

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdint>

#include <gtest/gtest.h>

#include "corvane_dll.h"

namespace {

using corvane_test::kClsidCorvaneExt;
using corvane_test::kIidICorvaneExt;

void* const kJunk = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0xDEADBEEF));

class CorvaneServer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CoInitialize(nullptr);
    dll_ = corvane_test::LoadCorvane();
  }

  void SetUp() override {
    ASSERT_NE(dll_.module, nullptr);
    ASSERT_NE(dll_.getClassObject, nullptr);
    ASSERT_NE(dll_.canUnloadNow, nullptr);
    ASSERT_EQ(dll_.canUnloadNow(), S_OK) << "an earlier test left the module locked";
  }

  IClassFactory* Factory() {
    void* out = kJunk;
    EXPECT_EQ(dll_.getClassObject(kClsidCorvaneExt, IID_IClassFactory, &out), S_OK);
    return static_cast<IClassFactory*>(out);
  }

  static inline corvane_test::CorvaneExports dll_;
};

TEST_F(CorvaneServer, GetClassObjectRefusesNullOutput) {
  EXPECT_EQ(dll_.getClassObject(kClsidCorvaneExt, IID_IClassFactory, nullptr), E_POINTER);
}

TEST_F(CorvaneServer, GetClassObjectRefusesUnknownClass) {
  // The interface id is no class of ours.
  void* out = kJunk;
  EXPECT_EQ(dll_.getClassObject(kIidICorvaneExt, IID_IClassFactory, &out),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
}

TEST_F(CorvaneServer, GetClassObjectAnswersTheFactoryQuery) {
  void* out = kJunk;
  EXPECT_EQ(dll_.getClassObject(kClsidCorvaneExt, IID_IDispatch, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(dll_.canUnloadNow(), S_OK);
}

TEST_F(CorvaneServer, TheFactoryIsCachedAndLocksTheModuleWhileHeld) {
  IClassFactory* first = Factory();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(dll_.canUnloadNow(), S_FALSE);
  void* second = kJunk;
  ASSERT_EQ(dll_.getClassObject(kClsidCorvaneExt, IID_IUnknown, &second), S_OK);
  EXPECT_EQ(second, static_cast<IUnknown*>(first));
  static_cast<IUnknown*>(second)->Release();
  EXPECT_EQ(dll_.canUnloadNow(), S_FALSE);
  first->Release();
  EXPECT_EQ(dll_.canUnloadNow(), S_OK);
}

TEST_F(CorvaneServer, LockServerHoldsTheModule) {
  IClassFactory* factory = Factory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  factory->Release();
  EXPECT_EQ(dll_.canUnloadNow(), S_FALSE);
  factory = Factory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  factory->Release();
  EXPECT_EQ(dll_.canUnloadNow(), S_OK);
}

TEST_F(CorvaneServer, CreateInstanceRefusesNullOutputAndAggregation) {
  IClassFactory* factory = Factory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);
  IUnknown* outer = factory;  // any non-null outer object
  for (const IID* iid : {&IID_IUnknown, &IID_IExtractIconW, &IID_IPersistFile}) {
    void* out = kJunk;
    EXPECT_EQ(factory->CreateInstance(outer, *iid, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
  }
  factory->Release();
  EXPECT_EQ(dll_.canUnloadNow(), S_OK);
}

TEST_F(CorvaneServer, CreateInstanceWithUnknownInterfaceDestroysTheObject) {
  IClassFactory* factory = Factory();
  ASSERT_NE(factory, nullptr);
  void* out = kJunk;
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IExtractIconA, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  factory->Release();
  EXPECT_EQ(dll_.canUnloadNow(), S_OK);
}

TEST_F(CorvaneServer, ObjectAnswersItsInterfacesWithOneIdentity) {
  IClassFactory* factory = Factory();
  ASSERT_NE(factory, nullptr);
  void* out = kJunk;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IExtractIconW, &out), S_OK);
  factory->Release();
  auto* object = static_cast<IUnknown*>(out);
  EXPECT_EQ(dll_.canUnloadNow(), S_FALSE) << "a live object locks the module";

  IUnknown* identity = nullptr;
  ASSERT_EQ(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
  for (const IID* iid : {&IID_IPersistFile, &IID_IExtractIconW, &kIidICorvaneExt}) {
    IUnknown* asked = nullptr;
    ASSERT_EQ(object->QueryInterface(*iid, reinterpret_cast<void**>(&asked)), S_OK);
    IUnknown* again = nullptr;
    ASSERT_EQ(asked->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&again)), S_OK);
    EXPECT_EQ(again, identity);
    again->Release();
    asked->Release();
  }
  for (const IID* iid : {&IID_IExtractIconA, &IID_IDispatch, &IID_IClassFactory}) {
    void* refused = kJunk;
    EXPECT_EQ(object->QueryInterface(*iid, &refused), E_NOINTERFACE);
    EXPECT_EQ(refused, nullptr);
  }
  EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
  identity->Release();
  object->Release();
  EXPECT_EQ(dll_.canUnloadNow(), S_OK);
}

TEST_F(CorvaneServer, PersistFileOffersOnlyLoad) {
  IClassFactory* factory = Factory();
  ASSERT_NE(factory, nullptr);
  IPersistFile* file = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IPersistFile, reinterpret_cast<void**>(&file)),
            S_OK);
  factory->Release();
  CLSID clsid = {};
  EXPECT_EQ(file->GetClassID(&clsid), E_NOTIMPL);
  EXPECT_EQ(file->IsDirty(), E_NOTIMPL);
  EXPECT_EQ(file->Save(L"C:\\x.lnk", TRUE), E_NOTIMPL);
  EXPECT_EQ(file->SaveCompleted(L"C:\\x.lnk"), E_NOTIMPL);
  LPOLESTR current = static_cast<LPOLESTR>(kJunk);
  EXPECT_EQ(file->GetCurFile(&current), E_NOTIMPL);
  EXPECT_EQ(file->Load(L"C:\\does-not-exist.lnk", STGM_READWRITE), S_OK);
  file->Release();
  EXPECT_EQ(dll_.canUnloadNow(), S_OK);
}

TEST_F(CorvaneServer, ExtractBeforeAnyInspectionAnswersFalse) {
  IClassFactory* factory = Factory();
  ASSERT_NE(factory, nullptr);
  IExtractIconW* extract = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IExtractIconW,
                                    reinterpret_cast<void**>(&extract)),
            S_OK);
  factory->Release();
  HICON large = static_cast<HICON>(kJunk);
  HICON small = static_cast<HICON>(kJunk);
  EXPECT_EQ(extract->Extract(L"C:\\x.lnk", 0, &large, &small, MAKELONG(32, 16)), S_FALSE);
  EXPECT_EQ(large, kJunk);
  extract->Release();
}

}  // namespace
