#include "shell/error_trap.h"

#include "shell/dialogs.h"

namespace shell {

QString describe(const std::exception& e) {
    if (auto* failure = dynamic_cast<const Failure*>(&e)) return failure->description();
    return QString::fromUtf8(e.what());
}

QString errorBoxText(const QString& description, const QString& location, int line) {
    return description + QStringLiteral("\r\n") + location + QStringLiteral("at line ") +
           QString::number(line) + QStringLiteral("\r\r") +
           QStringLiteral("Please email screenshot of this message to ") +
           QString::fromLatin1(kSupportAddress);
}

void reportFailure(Dialogs& dialogs, const QString& description, const QString& location, int line) {
    const QString text = errorBoxText(description, location, line);
    // The box itself must not throw into the procedure it reports for.
    untrapped([&] {
        dialogs.message(QStringLiteral("Application Error"), text, BoxButtons::Ok, BoxIcon::Warning);
    });
}

}  // namespace shell
