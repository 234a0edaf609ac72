#include "tests/support/sessionenvironment.h"

#include "framework/session/dbgeral.h"
#include "framework/session/norvela.h"

#include <QApplication>
#include <QTemporaryDir>

namespace {
std::unique_ptr<ServerFixture> runningServer;
}

SessionEnvironment::SessionEnvironment(Options options)
    : m_options(std::move(options)) {}

void SessionEnvironment::SetUp() {
    ServerFixture::Options options;
    options.demoSize = m_options.demoSize;
    runningServer = std::make_unique<ServerFixture>(options);
    ASSERT_NO_THROW(runningServer->start());
    if (m_options.seed) {
        ASSERT_NO_THROW(m_options.seed(runningServer->databaseUrl()));
    }
    Norvela::setWebURL(runningServer->host());
    Norvela::setWebPort(runningServer->port());
    Norvela::setOperador(QStringLiteral("admin"), QStringLiteral("admin"));
    if (!m_options.branch.isEmpty())
        Norvela::setFiliProc(m_options.branch);
    if (m_options.openSharedDatabase)
        dtmDBGeral()->open(runningServer->databaseUrl());
}

void SessionEnvironment::TearDown() {
    if (m_options.openSharedDatabase)
        dtmDBGeral()->close();
    runningServer.reset();
}

ServerFixture &SessionEnvironment::server() {
    return *runningServer;
}

int runWithSession(int argc, char **argv, SessionEnvironment::Options options) {
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", settings.filePath(QStringLiteral("data")).toLocal8Bit());
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new SessionEnvironment(std::move(options)));
    return RUN_ALL_TESTS();
}
