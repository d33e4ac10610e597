// The registration entry, the dispatcher, global set-up, About and the suite glue.
#include "entry/aefx_suites.h"
#include "entry/plugin_entry.h"
#include "entry/suite_handler.h"
#include "support/test_host.h"

#include <gtest/gtest.h>

#include <new>
#include <vector>

namespace plurion {
namespace {

using test::TestHost;

struct RegistrationCall {
    std::vector<A_long> numbers;
    std::vector<std::string> texts;
    int calls = 0;
    PF_Err answer = PF_Err_NONE;
};

PF_Err RecordRegistration(PF_PluginDataPtr context, const A_u_char* name,
                          const A_u_char* match_name, const A_u_char* category,
                          const A_u_char* entry_point, A_long kind, A_long version,
                          A_long subversion, A_long reserved, const A_u_char* url) {
    auto& call = *reinterpret_cast<RegistrationCall*>(context);
    ++call.calls;
    for (const A_u_char* text : {name, match_name, category, entry_point, url}) {
        call.texts.emplace_back(reinterpret_cast<const char*>(text));
    }
    call.numbers = {kind, version, subversion, reserved};
    return call.answer;
}

TEST(Registration, ReportsIdentityOnceAndReturnsTheCallbacksAnswer) {
    for (const PF_Err answer : {PF_Err_NONE, PF_Err_OUT_OF_MEMORY}) {
        RegistrationCall call;
        call.answer = answer;
        EXPECT_EQ(RegisterEffect(reinterpret_cast<PF_PluginDataPtr>(&call), RecordRegistration,
                                 nullptr, "host", "1"),
                  answer);
        EXPECT_EQ(call.calls, 1);
        EXPECT_EQ(call.numbers, (std::vector<A_long>{0x65464B54, 13, 28, 8}));
        ASSERT_EQ(call.texts.size(), 5u);
        EXPECT_EQ(call.texts[0], "Plurion");
        EXPECT_EQ(call.texts[1], "ADBE Plurion");
        EXPECT_EQ(call.texts[2], "KAVEL");
        EXPECT_EQ(call.texts[3], "PlurionMain");
        EXPECT_EQ(call.texts[4].rfind("https://", 0), 0u);
    }
}

TEST(Dispatcher, UnhandledSelectorsAnswerSuccessAndTouchNothing) {
    for (const PF_Cmd cmd : std::vector<PF_Cmd>{PF_Cmd_UPDATE_PARAMS_UI, PF_Cmd_RENDER,
                                                PF_Cmd_SEQUENCE_SETUP, PF_Cmd_GLOBAL_SETDOWN, 30}) {
        TestHost host;
        std::memset(&host.out, 0x5A, sizeof host.out);
        const PF_OutData before = host.out;
        EXPECT_EQ(HandleCommand(cmd, &host.in, &host.out, nullptr, nullptr, nullptr), 0) << cmd;
        EXPECT_EQ(std::memcmp(&before, &host.out, sizeof before), 0) << cmd;
        EXPECT_TRUE(host.services.suites.held().empty());
    }
}

TEST(Dispatcher, GlobalSetupKeepsHostFlagsAndReleasesWhatItTook) {
    TestHost host;
    host.out.out_flags = PF_OutFlag_I_DO_DIALOG;
    host.out.out_flags2 = PF_OutFlag2_I_USE_3D_CAMERA;
    EXPECT_EQ(HandleCommand(PF_Cmd_GLOBAL_SETUP, &host.in, &host.out, nullptr, nullptr, nullptr),
              PF_Err_NONE);
    EXPECT_EQ(host.out.my_version, 0x000A0E01u);
    EXPECT_EQ(static_cast<std::uint32_t>(host.out.out_flags), 0x06088440u | PF_OutFlag_I_DO_DIALOG);
    EXPECT_EQ(static_cast<std::uint32_t>(host.out.out_flags2),
              0x08081400u | PF_OutFlag2_I_USE_3D_CAMERA);
    EXPECT_TRUE(host.services.suites.held().empty());
}

TEST(Dispatcher, NullBasicSuiteIsReturnedAsBadCallbackParam) {
    TestHost host;
    host.in.pica_basicP = nullptr;
    EXPECT_EQ(HandleCommand(PF_Cmd_GLOBAL_SETUP, &host.in, &host.out, nullptr, nullptr, nullptr),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host.out.my_version, 0x000A0E01u); // stored before the suites are needed
    EXPECT_EQ(host.out.out_flags, 0);
    EXPECT_EQ(HandleCommand(PF_Cmd_ABOUT, &host.in, &host.out, nullptr, nullptr, nullptr),
              PF_Err_BAD_CALLBACK_PARAM);
}

TEST(Dispatcher, AboutWritesNameVersionAndDescription) {
    TestHost host;
    ASSERT_EQ(HandleCommand(PF_Cmd_ABOUT, &host.in, &host.out, nullptr, nullptr, nullptr), 0);
    const std::string about(host.out.return_msg);
    EXPECT_EQ(about.rfind("Plurion, v1.4.1\r\r", 0), 0u) << about;
    EXPECT_GT(about.size(), std::string("Plurion, v1.4.1\r\r").size());
    EXPECT_EQ(host.out.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE, 0);
    EXPECT_TRUE(host.services.suites.held().empty());

    TestHost missing;
    missing.services.faults.fail("AcquireSuite", 1, kSPSuiteNotFoundError);
    EXPECT_EQ(HandleCommand(PF_Cmd_ABOUT, &missing.in, &missing.out, nullptr, nullptr, nullptr),
              PF_Err_BAD_CALLBACK_PARAM);
}

PF_Err ThrowBadAlloc(PF_ProgPtr, PF_ParamIndex, PF_ParamDefPtr) {
    throw std::bad_alloc();
}
PF_Err ThrowOther(PF_ProgPtr, PF_ParamIndex, PF_ParamDefPtr) {
    throw 1.5;
}

TEST(Dispatcher, NoExceptionLeavesTheEntry) {
    TestHost host;
    host.in.inter.add_param = ThrowBadAlloc;
    EXPECT_EQ(HandleCommand(PF_Cmd_PARAMS_SETUP, &host.in, &host.out, nullptr, nullptr, nullptr),
              PF_Err_OUT_OF_MEMORY);
    host.in.inter.add_param = ThrowOther;
    EXPECT_EQ(HandleCommand(PF_Cmd_PARAMS_SETUP, &host.in, &host.out, nullptr, nullptr, nullptr),
              PF_Err_INTERNAL_STRUCT_DAMAGED);
}

TEST(SuiteHandler, AcquiresOnFirstUseAndReleasesOnce) {
    TestHost host;
    auto count = [&](const std::string& name, int version) {
        for (const auto& usage : host.services.suites.usage()) {
            if (usage.name == name && usage.version == version) {
                return std::pair{usage.acquired, usage.released};
            }
        }
        return std::pair{-1, -1};
    };
    { SuiteHandler unused(&host.services.basic); }
    EXPECT_EQ(count("PF ANSI Suite", 1), (std::pair{0, 0}));

    host.services.suites.add("AEGP Stream Suite", 7, &host.utils);
    {
        SuiteHandler suites(&host.services.basic);
        const void* first = suites.acquire(SuiteSlot::Stream7);
        EXPECT_EQ(suites.acquire(SuiteSlot::Stream7), first);
        EXPECT_EQ(count("AEGP Stream Suite", 7), (std::pair{1, 0}));
    }
    EXPECT_EQ(count("AEGP Stream Suite", 7), (std::pair{1, 1}));

    // A suite the host cannot give is thrown as 516; nothing is written for the user.
    SuiteHandler suites(&host.services.basic);
    host.faults.fail("AcquireSuite", 1, kSPSuiteNotFoundError);
    try {
        suites.acquire(SuiteSlot::Layer13);
        FAIL() << "expected a thrown error";
    } catch (PF_Err err) {
        EXPECT_EQ(err, PF_Err_BAD_CALLBACK_PARAM);
    }
    EXPECT_THROW(SuiteHandler{nullptr}, PF_Err);
}

TEST(AefxSuites, MissingSuitesAreReportedToTheUser) {
    // The host serves "AEGP Mask Suite" at version 1 only.
    TestHost host;
    void* suite = &host;
    EXPECT_EQ(AEFX_AcquireSuite(&host.in, &host.out, "AEGP Mask Suite", 2, nullptr, &suite),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(suite, nullptr);
    EXPECT_STREQ(host.out.return_msg, "Not able to acquire AEFX Suite.");
    EXPECT_NE(host.out.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE, 0);

    TestHost texted;
    texted.faults.fail("AcquireSuite", 1, kSPSuiteNotFoundError);
    EXPECT_EQ(
        AEFX_AcquireSuite(&texted.in, &texted.out, "PF World Suite", 2, kCouldNotLoadSuite, &suite),
        PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_STREQ(texted.out.return_msg, "Couldn't load suite.");

    TestHost served;
    EXPECT_EQ(AEFX_AcquireSuite(&served.in, &served.out, "PF ANSI Suite", 1, nullptr, &suite), 0);
    EXPECT_NE(suite, nullptr);
    EXPECT_EQ(AEFX_ReleaseSuite(&served.in, &served.out, "PF ANSI Suite", 1, nullptr), 0);
    EXPECT_TRUE(served.services.suites.held().empty());

    served.in.pica_basicP = nullptr;
    EXPECT_EQ(AEFX_ReleaseSuite(&served.in, &served.out, "PF ANSI Suite", 1, kCouldNotReleaseSuite),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_STREQ(served.out.return_msg, "Couldn't release suite.");
}

TEST(AefxSuites, DrawbotSuitesStopAtTheFirstMissingOne) {
    TestHost host;
    EXPECT_EQ(AEFX_AcquireDrawbotSuites(&host.in, &host.out, nullptr),
              PF_Err_UNRECOGNIZED_PARAM_TYPE);
    EXPECT_STREQ(host.out.return_msg, "NULL suite pointer passed to AEFX_AcquireDrawbotSuites");
    EXPECT_EQ(host.services.faults.calls("AcquireSuite"), 0);

    // The host serves the first two only: the third is missing.
    int tables[2] = {};
    host.services.suites.add("DRAWBOT Draw Suite", 1, &tables[0]);
    host.services.suites.add("DRAWBOT Supplier Suite", 1, &tables[1]);
    host.services.faults.fail("AcquireSuite", 3, kSPSuiteNotFoundError);
    AEFX_DrawbotSuites suites{};
    EXPECT_EQ(AEFX_AcquireDrawbotSuites(&host.in, &host.out, &suites), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(static_cast<const void*>(suites.drawbot_suiteP), &tables[0]);
    EXPECT_EQ(static_cast<const void*>(suites.supplier_suiteP), &tables[1]);
    EXPECT_EQ(suites.surface_suiteP, nullptr);
    EXPECT_EQ(host.services.suites.held().size(), 2u);
    EXPECT_STREQ(host.out.return_msg, "Not able to acquire AEFX Suite.");
}

} // namespace
} // namespace plurion
