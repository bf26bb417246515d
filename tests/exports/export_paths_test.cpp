// The exported functions linked with a scripted Connection double, registered before the
// module's shared connection is built, for the closing failures no engine shows.
#include <gtest/gtest.h>

#include "exports/module.h"
#include "support/connection_double.h"

extern "C" int fnDBOpen(const char16_t*, const char16_t*);
extern "C" int fnDBExecute(const char16_t*);
extern "C" void fnDBClose();

namespace orvanta {
namespace {

using testing::ConnectionScript;
using testing::ScopedConnectionDouble;

// Built before g_database, which is initialised at the default priority.
__attribute__((init_priority(101))) ConnectionScript g_script;
__attribute__((init_priority(101))) ScopedConnectionDouble g_double(g_script);

class ExportPaths : public ::testing::Test {
protected:
    void SetUp() override {
        g_script.stateResult = g_script.closeResult = g_script.openResult = g_script.executeResult = S_OK;
        fnDBClose();
        ASSERT_EQ(fnDBOpen(nullptr, u"DSN=x"), 1);
    }
    void TearDown() override {
        g_script.stateResult = g_script.closeResult = S_OK;
        fnDBClose();
    }
};

TEST_F(ExportPaths, TheSharedConnectionIsTheDouble) { EXPECT_EQ(g_script.liveObjects, 1); }

TEST_F(ExportPaths, CloseFailuresAreContainedByCloseAndOpen) {
    for (HRESULT ConnectionScript::*failing : {&ConnectionScript::stateResult, &ConnectionScript::closeResult}) {
        g_script.*failing = E_FAIL;
        EXPECT_NO_FATAL_FAILURE(fnDBClose());
        EXPECT_EQ(fnDBOpen(nullptr, u"DSN=y"), 0);
        g_script.*failing = S_OK;
        EXPECT_EQ(fnDBOpen(nullptr, u""), 1) << "the library stays usable";
    }
}

TEST_F(ExportPaths, ExecuteReturnsTheCountWholeOrZeroOnFailure) {
    g_script.recordsAffected = -7;
    EXPECT_EQ(fnDBExecute(u"x"), -7);
    g_script.executeResult = E_FAIL;
    EXPECT_EQ(fnDBExecute(u"x"), 0);
    EXPECT_EQ(g_database.GetRecordsAffected(), 0);
}

}  // namespace
}  // namespace orvanta
