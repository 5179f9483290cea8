#include "generator/engine_session.h"
#include "engine/model/engine_error.h"
#include "engine/workbook.h"
#include "shell/failure.h"

#include <gtest/gtest.h>

using namespace generator;

namespace {

const EngineFactory kNoEngine = [] { return std::unique_ptr<engine::Application>(); };

TEST(EngineSession, StartAndReleaseTheRunsInstance) {
    EngineSession session;
    EXPECT_THROW(session.instance(), shell::Failure);
    session.start();
    EXPECT_EQ(session.instance().Workbooks().Count(), 0);
    // It saves only the run's temporary workbook: no waiting for the disk.
    EXPECT_FALSE(session.instance().DurableSaves());
    session.release();
    EXPECT_THROW(session.instance(), shell::Failure);
    EngineSession none(kNoEngine);
    EXPECT_THROW(none.start(), engine::EngineError);
    EXPECT_THROW(none.instance(), shell::Failure);
}

}  // namespace
