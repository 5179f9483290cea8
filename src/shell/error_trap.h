#pragma once

#include "shell/error_locations.h"
#include "shell/failure.h"

#include <QString>
#include <exception>
#include <utility>

namespace shell {

class Dialogs;

inline constexpr const char* kSupportAddress = "support@quenvale.example";

// The text of the error box: description, CR LF, location, "at line ", number,
// CR CR, and the request to mail a screenshot.
QString errorBoxText(const QString& description, const QString& location, int line);

// Shows the modal "Application Error" box for a failure at a statement.
void reportFailure(Dialogs& dialogs, const QString& description, const QString& location, int line);

// What a procedure does after a failure's box: go on with its next statement, or
// end (every later statement is skipped; the procedure asks ended() and cleans up).
enum class AfterFailure { NextStatement, EndProcedure };

// The failure trap of one procedure: runs each numbered statement, reports a
// failure through the dialogs with the procedure's location and the statement's
// number, and lets the procedure go on with its next statement, or end, as it was
// made.
class Trap {
public:
    Trap(Dialogs& dialogs, ErrorLocation location, AfterFailure after = AfterFailure::NextStatement)
        : m_dialogs(dialogs), m_location(errorLocationText(location)), m_after(after) {}

    // Runs one statement; true when it completed. Once the procedure has ended,
    // statements are skipped and give false.
    template <typename F>
    bool operator()(int line, F&& statement) {
        if (m_ended) return false;
        try {
            std::forward<F>(statement)();
            return true;
        } catch (const std::exception& e) {
            reportFailure(m_dialogs, describe(e), m_location, line);
        } catch (...) {
            reportFailure(m_dialogs, QString(), m_location, line);
        }
        m_ended = m_after == AfterFailure::EndProcedure;
        return false;
    }

    // True once a failure has ended a procedure that ends at its first failure.
    bool ended() const { return m_ended; }

private:
    Dialogs& m_dialogs;
    const QString& m_location;
    AfterFailure m_after;
    bool m_ended = false;
};

// For handlers without a trap: whatever fails inside stays inside, so nothing
// ever reaches Qt's event loop. Returns true when the body completed.
template <typename F>
bool untrapped(F&& body) noexcept {
    try {
        std::forward<F>(body)();
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace shell
