#include "generator/engine_session.h"

#include "engine/model/engine_error.h"
#include "shell/failure.h"

namespace generator {

EngineSession::EngineSession(EngineFactory factory)
    : m_factory(factory ? std::move(factory) : EngineFactory(engine::createApplication)) {}

EngineSession::~EngineSession() = default;

std::unique_ptr<engine::Application> EngineSession::newInstance() const {
    std::unique_ptr<engine::Application> app = m_factory();
    if (!app) throw engine::EngineError(QStringLiteral("The spreadsheet application could not be started."));
    return app;
}

void EngineSession::start() {
    m_instance = newInstance();
    m_instance->SetDurableSaves(false);
}

engine::Application& EngineSession::instance() const {
    if (!m_instance) throw shell::Failure(QStringLiteral("No engine instance has been started for the run."));
    return *m_instance;
}

void EngineSession::release() { m_instance.reset(); }

std::unique_ptr<engine::Application> EngineSession::openInNewInstance(const QString& path) const {
    std::unique_ptr<engine::Application> app = newInstance();
    app->Workbooks().Open(path);
    return app;
}

}  // namespace generator
