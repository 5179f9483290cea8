#pragma once

#include <QString>
#include <stdexcept>

namespace shell {

// A failure of a statement: carries the description the error box shows as it is.
class Failure : public std::runtime_error {
public:
    explicit Failure(const QString& description)
        : std::runtime_error(description.toStdString()), m_description(description) {}
    const QString& description() const noexcept { return m_description; }

private:
    QString m_description;
};

// The description of any exception, as the error box shows it.
QString describe(const std::exception& e);

}  // namespace shell
