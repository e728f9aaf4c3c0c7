#include "PathParts.h"

#include <gtest/gtest.h>

namespace {

// The folder is what a program opens to make a file beside the named one; the prefix up to the
// name is what it puts before a hidden name to keep the path as the user wrote it.
TEST(PathParts, CutsAtTheLastSlash) {
    struct Case {
        const char* path;
        const char* prefix;
        const char* name;
        const char* folder;
    };
    const Case cases[] = {
        {"empleados.csv", "", "empleados.csv", "."},
        {"/empleados.csv", "/", "empleados.csv", "/"},
        {"datos/empleados.csv", "datos/", "empleados.csv", "datos"},
        {"/a/b/c.csv", "/a/b/", "c.csv", "/a/b"},
        {"a//c.csv", "a//", "c.csv", "a/"},
        {"datos/", "datos/", "", "datos"},
        {"", "", "", "."},
    };
    for (const Case& c : cases) {
        const std::string_view path = c.path;
        EXPECT_EQ(path.substr(0, nameStart(path)), c.prefix) << c.path;
        EXPECT_EQ(nameOf(path), c.name) << c.path;
        EXPECT_EQ(folderOf(path), c.folder) << c.path;
    }
}

} // namespace
