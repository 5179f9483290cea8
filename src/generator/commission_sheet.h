#pragma once

namespace engine {
class Application;
}

namespace generator {

class RecordSource;

// Lays out the "Sales Commission Calculator" on the active sheet of app from the
// records and percentage that source gives at the moment of the call, and ends
// with page setup. The first failing operation ends it (the failure passes on).
void writeCommissionSheet(engine::Application& app, const RecordSource& source);

}  // namespace generator
