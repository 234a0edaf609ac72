#include "filterdata.h"

#include "tests/support/sessionenvironment.h"

// The demo data and company 09; branch 0101 numbers its documents 9 wide.
int main(int argc, char **argv) {
    SessionEnvironment::Options options;
    options.branch = QStringLiteral("0101");
    options.seed = FilterData::seed;
    return runWithSession(argc, argv, options);
}
