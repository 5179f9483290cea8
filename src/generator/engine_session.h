#pragma once

#include "engine/application.h"

#include <QString>
#include <functional>
#include <memory>

namespace generator {

// Makes a new engine instance; returns null (or throws) when none can be made.
using EngineFactory = std::function<std::unique_ptr<engine::Application>()>;

// The engine instances of the program: how they are made (the built-in engine,
// unless a test supplies another factory) and the one a generation run works in
// while it lays out and saves the workbook.
class EngineSession {
public:
    explicit EngineSession(EngineFactory factory = {});
    ~EngineSession();
    EngineSession(const EngineSession&) = delete;
    EngineSession& operator=(const EngineSession&) = delete;

    // A new instance; throws EngineError when none can be made.
    std::unique_ptr<engine::Application> newInstance() const;

    // Makes the run's instance. It saves only the run's temporary workbook, which
    // is read back at once and copied with a sync where the user saves it, so its
    // saves do not wait for the disk.
    void start();
    // The run's instance; throws shell::Failure when none was started (or it was
    // released).
    engine::Application& instance() const;
    // Drops the run's instance (it was quit before).
    void release();

    // A new instance in which the workbook at path is open; the caller owns and quits it.
    std::unique_ptr<engine::Application> openInNewInstance(const QString& path) const;

private:
    EngineFactory m_factory;
    std::unique_ptr<engine::Application> m_instance;
};

}  // namespace generator
