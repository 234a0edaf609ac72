#include "tests/support/sessionenvironment.h"

int main(int argc, char **argv) {
    SessionEnvironment::Options options;
    options.demoSize = 300;
    return runWithSession(argc, argv, options);
}
