#pragma once

// Small helpers shared by the fuzz targets: carving the fuzzer's bytes into the
// choices and texts a target needs, the locales the number rules are tried under,
// and an invariant check that stops the run with a readable report.
#include <QByteArray>
#include <algorithm>
#include <QLocale>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fuzz {

// Reads the fuzzer's bytes front to back; once they run out, every read gives 0
// and every text is empty, so a target never needs to check the length.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }

    double rawDouble() {
        double value = 0;
        if (m_size - m_pos >= sizeof value) {
            std::memcpy(&value, m_data + m_pos, sizeof value);
            m_pos += sizeof value;
        }
        return value;
    }

    // A text of the next `length` bytes (or fewer), read as UTF-8.
    QString text(std::size_t length) {
        const std::size_t n = std::min(length, m_size - m_pos);
        const QString out = QString::fromUtf8(reinterpret_cast<const char*>(m_data + m_pos), qsizetype(n));
        m_pos += n;
        return out;
    }
    // Every remaining byte as UTF-8 text, or as raw bytes.
    QString restAsText() { return text(m_size - m_pos); }
    QByteArray restAsBytes() {
        QByteArray out(reinterpret_cast<const char*>(m_data + m_pos), qsizetype(m_size - m_pos));
        m_pos = m_size;
        return out;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// The locales the number rules are tried under: "." decimals with "," groups,
// "," decimals with "." groups, and "," decimals with a space for groups.
inline const QLocale& localeFor(std::uint8_t choice) {
    static const QLocale locales[] = {
        QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::German, QLocale::Germany),
        QLocale(QLocale::French, QLocale::France),
    };
    return locales[choice % 3];
}

inline QByteArray printable(const QString& text) {
    QByteArray out;
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F && c != QLatin1Char('\\'))
            out += char(c.unicode());
        else
            out += "\\u" + QByteArray::number(c.unicode(), 16).rightJustified(4, '0');
    }
    return out;
}

// Stops the run: libFuzzer saves the input that got here as a crash artifact.
[[noreturn]] inline void broken(const char* invariant, const QString& detail = QString()) {
    std::fprintf(stderr, "\n*** invariant broken: %s\n    %s\n", invariant, printable(detail).constData());
    std::abort();
}

inline void check(bool holds, const char* invariant, const QString& detail = QString()) {
    if (!holds) broken(invariant, detail);
}

}  // namespace fuzz
