#pragma once

#include "payabledata.h"
#include "previewcalls.h"
#include "screenfixture.h"


#include <optional>

// The screen open on a company of the test's own, whose payables the test writes into the server's
// database; hand-offs to the accounting preview reach the recorder package.
class CompanyScreenTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        screen = openScreen();
        ASSERT_NE(screen, nullptr);
        preview.emplace();
        company = data.addCompany();
    }

    // Fetches the company's payables into the screen as a user does: the code typed and the panel
    // left, which runs the filter silently.
    void load() { browse(screen, company); }

    PayableData data;
    std::optional<PreviewCalls> preview;
    TfrmRecCtPagar *screen = nullptr;
    QString company;
};
