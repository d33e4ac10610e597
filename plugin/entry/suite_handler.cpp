#include "entry/suite_handler.h"

namespace plurion {
namespace {

constexpr std::array<SuiteName, static_cast<std::size_t>(SuiteSlot::Count)> kSuiteNames = {{
    {"PF ANSI Suite", 1},
    {"PF Handle Suite", 2},
    {"PF World Suite", 2},
    {"AEGP Mask Suite", 1},
    {"AEGP Utility Suite", 11},
    {"AEGP PF Interface Suite", 1},
    {"PF Param Utils Suite", 3},
    {"AEGP Stream Suite", 7},
    {"AEGP Dynamic Stream Suite", 2},
    {"AEGP Layer Suite", 11},
    {"AEGP Layer Suite", 13},
    {"AEGP Effect Suite", 2},
    {"PF Path Query Suite", 1},
    {"PF Path Data Suite", 1},
    {"PF Effect Custom UI Suite", 1},
    {"PF Effect Custom UI Overlay Theme Suite", 1},
    {"DRAWBOT Draw Suite", 1},
    {"DRAWBOT Supplier Suite", 1},
    {"DRAWBOT Surface Suite", 2},
    {"DRAWBOT Path Suite", 1},
}};

} // namespace

SuiteName SuiteNameOf(SuiteSlot slot) {
    return kSuiteNames[static_cast<std::size_t>(slot)];
}

SuiteHandler::SuiteHandler(SPBasicSuite* basic) : basic_(basic) {
    if (basic_ == nullptr) {
        throw PF_Err{PF_Err_BAD_CALLBACK_PARAM};
    }
}

SuiteHandler::~SuiteHandler() {
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        if (slots_[i] != nullptr) {
            const SuiteName suite = kSuiteNames[i];
            basic_->ReleaseSuite(suite.name, suite.version);
        }
    }
}

const void* SuiteHandler::acquire(SuiteSlot slot) {
    const auto i = static_cast<std::size_t>(slot);
    if (slots_[i] == nullptr) {
        const SuiteName suite = kSuiteNames[i];
        const void* table = nullptr;
        const SPErr err = basic_->AcquireSuite(suite.name, suite.version, &table);
        if (err != kSPNoError || table == nullptr) {
            throw PF_Err{PF_Err_BAD_CALLBACK_PARAM};
        }
        slots_[i] = table;
    }
    return slots_[i];
}

} // namespace plurion
