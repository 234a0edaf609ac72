#pragma once

#include "tests/support/serverfixture.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

// One real application server for a whole test run, with the session pointed at it: signed in as the
// demo admin and reading its selection lists from the server's own database file through the shared
// connection.
class SessionEnvironment : public testing::Environment {
public:
    struct Options {
        int demoSize = 200;
        // The session's processing branch; empty leaves it as it is.
        QString branch;
        // Writes a suite's own data into the server's database once the server has started.
        std::function<void(const QString &databaseUrl)> seed;
        // Also open the shared database connection on the server's database file.
        bool openSharedDatabase = true;
    };

    explicit SessionEnvironment(Options options);

    void SetUp() override;
    void TearDown() override;

    // The server of the run; valid from the environment's SetUp to its TearDown.
    static ServerFixture &server();

private:
    Options m_options;
};

// Runs the program's tests within Qt's application object and a SessionEnvironment. Window places,
// saved filter options and other settings of the run go to a folder of its own, so no test process
// reads another's or the user's.
int runWithSession(int argc, char **argv, SessionEnvironment::Options options);
