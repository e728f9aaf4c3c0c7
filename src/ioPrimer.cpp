// Writes text, the raw bytes of an integer and the integer as text to one file, then reads the
// file's first four bytes back as an integer: what a file holds is bytes, whatever was meant.
#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const {
        std::fclose(file);
    }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

constexpr const char* kFileName = "archivo.txt";

} // namespace

int main() {
    const int number = 456984;
    {
        File file(std::fopen(kFileName, "w"));
        if (!file) {
            return 0;
        }
        std::puts("Abrio");
        std::fwrite("Hola\n", 1, 5, file.get());
        std::fwrite(&number, sizeof number, 1, file.get());
        std::fprintf(file.get(), "%d", number);
    }
    int readBack = 0; // stays 0 when fewer than four bytes come back
    {
        File file(std::fopen(kFileName, "r"));
        if (!file) {
            return 0;
        }
        if (std::fread(&readBack, sizeof readBack, 1, file.get()) != 1) {
            readBack = 0;
        }
    }
    std::printf("lei la variable %d", readBack);
    return 0;
}
