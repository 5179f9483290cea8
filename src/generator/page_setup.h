#pragma once

namespace engine {
class Application;
class Range;
}

namespace generator {

// How the active sheet of app prints: the print area first (so that it stays even
// when a later step fails), margins, no comments, landscape A4, fitted to one page.
void setUpPage(engine::Application& app, const engine::Range& printArea);

}  // namespace generator
