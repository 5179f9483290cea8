#pragma once

#include <QString>

namespace engine {
class Application;
}

namespace generator {

// How the active sheet of app prints: the print area first (so that it stays even
// when a later step fails), margins, no comments, landscape A4, fitted to one page.
void setUpPage(engine::Application& app, const QString& printArea);

}  // namespace generator
