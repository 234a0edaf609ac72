#include "tests/support/sessionenvironment.h"

int main(int argc, char **argv) {
    SessionEnvironment::Options options;
    options.demoSize = 50;
    options.openSharedDatabase = false;
    return runWithSession(argc, argv, options);
}
