// Fuzzes ventas' reading of a sales file: the input is the file, and the program must end with
// status 0 or 1, having released everything it built (the leak check runs after every input).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

// ventas' own main, renamed for this build.
int ventas_main(int argc, char* argv[]);

namespace {

char salesPath[] = "/tmp/ventas_fuzz.XXXXXX";

void require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const int fd = mkstemp(salesPath);
    require(fd != -1);
    close(fd);
    std::atexit([] { unlink(salesPath); });
    require(std::freopen("/dev/null", "w", stdout) != nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(salesPath, "wb");
    require(file != nullptr);
    require(std::fwrite(data, 1, size, file) == size);
    std::fclose(file);
    char program[] = "ventas";
    char* argv[] = {program, salesPath, nullptr};
    const int status = ventas_main(2, argv);
    require(status == 0 || status == 1);
    return 0;
}
