#include "records/record_rules.h"

#include "records/saved_list_codec.h"
#include "shell/storable_text.h"

namespace records {

std::optional<QString> nameRefusal(const QString& name) {
    if (containsSeparator(name))
        return QStringLiteral("a name may not contain \"||SEP1||\" or \"||SEP2||\": the record list could not store it");
    if (const std::optional<qsizetype> at = shell::firstUnstorableCharacter(name)) {
        const qsizetype characterNumber = QStringView(name).left(*at).toUcs4().size() + 1;
        return QStringLiteral("the name holds %1 at character %2, which workbook files cannot carry")
            .arg(shell::characterDescription(name, *at))
            .arg(characterNumber);
    }
    return std::nullopt;
}

}  // namespace records
