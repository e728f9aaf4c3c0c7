// ventas as built with allocation failures on demand: whichever allocation fails, it names the
// file, says why, exits with 1 and leaks nothing.
#include "console.h"
#include "files.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace {

struct Outcome {
    console::Run run;
    long allocations = 0;
    bool fired = false;
};

// Runs ventas on the file with its nth allocation failing (0: none).
Outcome runFailing(const console::TempDir& dir, long n) {
    const std::string log = (dir / "allocations.log").string();
    setenv("ALLOC_FAIL_AT", std::to_string(n).c_str(), 1);
    setenv("ALLOC_FAIL_LOG", log.c_str(), 1);
    Outcome outcome;
    outcome.run = console::runProgram({VENTAS_ALLOCFAIL_PATH}, dir.path());
    unsetenv("ALLOC_FAIL_AT");
    unsetenv("ALLOC_FAIL_LOG");
    std::ifstream in(log);
    int fired = 0;
    in >> outcome.allocations >> fired;
    outcome.fired = fired == 1;
    return outcome;
}

TEST(VentasAllocationFailure, EveryFailureEndsWithAnErrorAndStatusOne) {
    console::TempDir dir;
    console::writeFile(dir / "ventas.csv",
                       "id_venta,fecha_venta,tipo_foto,cantidad,precio_unitario,cuit_cliente\n"
                                           "1,d,POLAROID_11x9,2,100,c\n"
                                           "2,d,MATE,3,60,c\n"
                                           "3,d,MATE,1,1,c\n");
    const Outcome spared = runFailing(dir, 0);
    ASSERT_EQ(spared.run.exitCode, 0) << spared.run.output;
    // The list, the line reader's buffer and the copy a line is cut in, and a record and a node
    // per sale.
    ASSERT_EQ(spared.allocations, 1 + 2 + 3 * 2);

    for (long n = 1; n <= spared.allocations; ++n) {
        const Outcome failed = runFailing(dir, n);
        EXPECT_TRUE(failed.fired) << n;
        EXPECT_EQ(failed.run.exitCode, 1) << "allocation " << n;
        EXPECT_EQ(failed.run.output, "ventas.csv: memoria insuficiente\n") << "allocation " << n;
    }
}

} // namespace
