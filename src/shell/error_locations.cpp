#include "shell/error_locations.h"

#include <array>

namespace shell {
namespace {

// The location texts, in the order of ErrorLocation. They are part of what users
// see and quote, so they never change with the code's names.
constexpr std::array<const char*, 12> kLocationTexts = {
    "Form1.Form_Load",
    "Form1.Form_QueryUnload",
    "Form1.PushButton1_Click",
    "Form1.PushButton3_Click",
    "Commission.GenerateReport0",
    "Form2.RedrawImage",
    "Form2.Form_Load",
    "Form2.PushButton6_Click",
    "Preview.Print",
    "Preview.ExportPDF",
    "Preview.SaveAsExcelWorkbook",
    "Preview.CopyPicture",
};
static_assert(kLocationTexts.size() == static_cast<std::size_t>(ErrorLocation::CopyPicture) + 1);

std::array<QString, kLocationTexts.size()> buildLocations() {
    std::array<QString, kLocationTexts.size()> texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = QStringLiteral("in Marrowby2021/08/31.") + QLatin1String(kLocationTexts[i]) + QLatin1Char(' ');
    return texts;
}

}  // namespace

const QString& errorLocationText(ErrorLocation location) {
    static const std::array<QString, kLocationTexts.size()> texts = buildLocations();
    return texts[static_cast<std::size_t>(location)];
}

}  // namespace shell
