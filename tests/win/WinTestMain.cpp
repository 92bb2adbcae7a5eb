// Windows-side tests share one application object, as the program does.
#include <gtest/gtest.h>

#include "framework/ApplicationWin32.h"
#include "framework/TextsWin32.h"
#include "framework/Win32Handles.h"

namespace {
class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // The program's string tables are linked in: English, as the tests expect.
        static snq::ResourceTexts texts;
        snq::UseTexts(&texts, snq::kEnglishLanguage);
        application_ = new snq::TApplication(::GetModuleHandleW(nullptr));
        application_->SetTitle(L"Snapquery 1.5");
    }
    void TearDown() override { delete application_; }

private:
    snq::TApplication* application_ = nullptr;
};
const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);
} // namespace
