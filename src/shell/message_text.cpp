#include "shell/message_text.h"

#include <cstring>

namespace shell {

QString quotedForMessage(const QString& text) {
    qsizetype length = text.size();
    bool shortened = false;
    if (length > kQuotedTextLength) {
        length = kQuotedTextLength;
        if (text.at(length - 1).isHighSurrogate()) --length;
        shortened = true;
    }
    QString shown = text.left(length);
    for (QChar& c : shown)
        if (c.category() == QChar::Other_Control) c = QLatin1Char(' ');
    if (shortened) shown += QChar(0x2026);
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

QString systemErrorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

}  // namespace shell
