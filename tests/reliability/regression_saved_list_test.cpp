// Stored lists found by fuzz_saved_list whose rows, once loaded, are not stored
// back the same way: the list changes over a restart without the user touching it.
// The saved form has no escaping, so a text that ends like the start of a
// separator ("x||SEP1", "x||SEP1|") runs into the separator written after it.
#include "gtest_printers.h"
#include "records/form1_harness.h"

#include <gtest/gtest.h>

namespace {

// Loads the stored value, closes the window (which stores the list again) and
// starts once more: the rows must be the ones shown the first time.
Rows rowsAfterARestart(Form1Harness& h, const QString& stored, Rows* first) {
    h.store(shell::kKeyCommissionList, stored);
    h.start();
    *first = h.rows();
    h.closeWindow();
    h.start();
    const Rows second = h.rows();
    h.closeWindow();
    return second;
}

TEST(RegressionSavedList, FieldEndingLikeTheStartOfASeparatorSurvivesARestart) {
    const QStringList crashes = {
        // crash-34299e1fe2d0628b62b76a152935f67ca1bb154a (the mode byte dropped)
        QStringLiteral("|SEP1||SEP1|||SEP2|||SEP2||||SEP1||SEP2"),
        QStringLiteral("Di||SEP1||SEP2||"),
        QStringLiteral("Bob||SEP2"),
    };
    for (const QString& stored : crashes) {
        SCOPED_TRACE(stored.toStdString());
        Form1Harness h;
        Rows first;
        const Rows second = rowsAfterARestart(h, stored, &first);
        EXPECT_EQ(second, first);
    }
}

}  // namespace
