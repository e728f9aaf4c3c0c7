// The payroll parser on files written to a temporary folder.
#include "Parser.h"

#include "Empleado.h"
#include "console.h"
#include "files.h"

#include <algorithm>
#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Row {
    int id;
    std::string nombre;
    int horas;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
    return out << row.id << ',' << row.nombre << ',' << row.horas;
}

constexpr char HEADER[] = "id,nombre,horasTrabajadas\n";

class Parser : public ::testing::Test {
  protected:
    void TearDown() override {
        ll_deleteLinkedList(list);
    }

    // Writes bytes as the payroll and parses it into the list.
    int parse(const std::string& bytes) {
        console::writeFile(dir / "archivo.csv", bytes);
        return parseFile(dir / "archivo.csv");
    }

    // Parses the file at path into the list; keeps what the parser printed, with the folder's
    // name taken out, in said.
    int parseFile(const std::filesystem::path& path) {
        std::string name = path.string();
        int result = 0;
        said = console::captureStdout([&] { result = parser_parseEmpleados(name.data(), list); });
        const std::string folder = dir.path().string() + "/";
        for (size_t at = said.find(folder); at != std::string::npos; at = said.find(folder)) {
            said.erase(at, folder.size());
        }
        return result;
    }

    std::vector<Row> rows() {
        std::vector<Row> result;
        for (int i = 0; i < ll_len(list); ++i) {
            const auto* empleado = static_cast<const Empleado*>(ll_get(list, i));
            result.push_back({empleado->id, empleado->nombre, empleado->horasTrabajadas});
        }
        return result;
    }

    console::TempDir dir;
    LinkedList* list = ll_newLinkedList();
    std::string said;
};

TEST_F(Parser, ReadsEveryEmployeeInFileOrder) {
    ASSERT_EQ(parse(std::string(HEADER) + "7,Ana Paz,40\n-3,Bruno,-12\n0,José Núñez,0\n"), 1);
    EXPECT_EQ(rows(),
              (std::vector<Row>{{7, "Ana Paz", 40}, {-3, "Bruno", -12}, {0, "José Núñez", 0}}));
    const auto* first = static_cast<const Empleado*>(ll_get(list, 0));
    EXPECT_EQ(first->sueldo, 0);
}

TEST_F(Parser, AcceptsCrlfBlankLinesAndAMissingFinalLineEnd) {
    ASSERT_EQ(parse("id,nombre,horasTrabajadas\r\n\r\n1,Ana,5\r\n\n \t\n2,Bruno,6\r\n3,Carla,7"),
              1);
    EXPECT_EQ(rows(), (std::vector<Row>{{1, "Ana", 5}, {2, "Bruno", 6}, {3, "Carla", 7}}));
}

TEST_F(Parser, TakesTheLimitsOfEachField) {
    const std::string longest(NOMBRE_LENGTH, 'n');
    ASSERT_EQ(parse(std::string(HEADER) + "2147483647," + longest + ",-2147483648\n" +
                    "-2147483648,x,2147483647\n-0,y,007\n"),
              1);
    EXPECT_EQ(rows(), (std::vector<Row>{
                          {INT_MAX, longest, INT_MIN}, {INT_MIN, "x", INT_MAX}, {0, "y", 7}}));
}

TEST_F(Parser, RefusesAFileThatDoesNotStartWithTheHeader) {
    EXPECT_EQ(parse("1,Ana,5\n2,Bruno,6\n"), 0) << "the first employee would be lost";
    EXPECT_EQ(parse("id,nombre,horasTrabajadas\r1,Ana,5\r2,Bruno,6\r"), 0)
        << "carriage returns alone do not end lines: the whole payroll would be lost";
    EXPECT_EQ(parse("ID,NOMBRE,HORASTRABAJADAS\n1,Ana,5\n"), 0);
    EXPECT_EQ(ll_len(list), 0);
    ASSERT_EQ(parse("\xEF\xBB\xBFid,nombre,horasTrabajadas\r\n1,Ana,5\r\n"), 1);
    EXPECT_EQ(rows(), (std::vector<Row>{{1, "Ana", 5}}));
}

TEST_F(Parser, AHeaderAloneOrAnEmptyFileGivesNoEmployees) {
    EXPECT_EQ(parse(HEADER), 1);
    EXPECT_EQ(parse("id,nombre,horasTrabajadas"), 1);
    EXPECT_EQ(parse(""), 1);
    EXPECT_EQ(ll_len(list), 0);
}

TEST_F(Parser, AppendsBehindWhatTheListHeld) {
    int before = 0;
    ll_add(list, &before);
    ASSERT_EQ(parse(std::string(HEADER) + "1,Ana,5\n"), 1);
    ASSERT_EQ(ll_len(list), 2);
    EXPECT_EQ(ll_get(list, 0), &before);
    EXPECT_EQ(static_cast<const Empleado*>(ll_get(list, 1))->id, 1);
}

TEST_F(Parser, ReadsALargePayrollAcrossManyReads) {
    std::string bytes = HEADER;
    std::vector<Row> expected;
    for (int i = 0; i < 60000; ++i) {
        expected.push_back({i, "Empleado numero " + std::to_string(i * 7), i % 300 - 20});
        bytes += std::to_string(i) + ',' + expected.back().nombre + ',' +
                 std::to_string(expected.back().horas) + (i % 2 ? "\r\n" : "\n");
    }
    ASSERT_EQ(parse(bytes), 1);
    EXPECT_EQ(rows(), expected);
}

TEST_F(Parser, AnyMalformedLineFailsAndLeavesTheListAsItWas) {
    const char* const badLines[] = {
        "1,Ana",
        "1,Ana,5,6",
        "1,Ana,5,",
        ",Ana,5",
        "1,Ana,",
        "1,,5",
        "x,Ana,5",
        "1a,Ana,5",
        "1,Ana,5h",
        "+1,Ana,5",
        " 1,Ana,5",
        "1,Ana,5 ",
        "-,Ana,5",
        "1,Ana,--5",
        "2147483648,Ana,5",
        "1,Ana,-2147483649",
        "1,Ana,99999999999999999999",
        "1,Ana,5\r\r",
        " \r ",
    };
    int kept = 0;
    ll_add(list, &kept);
    for (const char* bad : badLines) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(parse(std::string(HEADER) + "1,Ana,5\n" + bad + "\n2,Bruno,6\n"), 0);
        ASSERT_EQ(ll_len(list), 1);
        EXPECT_EQ(ll_get(list, 0), &kept);
        EXPECT_TRUE(said.starts_with("archivo.csv:3: ")) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
    const std::string tooLong(NOMBRE_LENGTH + 1, 'n');
    EXPECT_EQ(parse(std::string(HEADER) + "1," + tooLong + ",5\n"), 0);
    EXPECT_EQ(parse(std::string(HEADER) + std::string("1,A\0a,5\n", 8)), 0);
    EXPECT_EQ(parse(std::string(HEADER) + "1,Ana," + std::string(300000, '0') + "5\n"), 0);
    EXPECT_EQ(ll_len(list), 1);
}

TEST_F(Parser, SaysOnWhichLineAndWhyAPayrollIsRefused) {
    const std::string longName(NOMBRE_LENGTH + 1, 'n');
    const struct {
        std::string bytes;
        std::string said;
        bool headed = true; // the payroll is the bytes behind the header
    } cases[] = {
        {"1,Ana,5\n", "1: la primera línea no es el encabezado id,nombre,horasTrabajadas: "
                      "\"1,Ana,5\"",
         false},
        {"id,nombre,horasTrabajadas\r1,Ana,5\r2,Bruno,6",
         "1: la primera línea no es el encabezado id,nombre,horasTrabajadas: "
         "\"id,nombre,horasTrabajadas\\r1,Ana,5\\r2,Bruno,6\"",
         false},
        {"1,Ana,5\n\n \t\r\n2,Bruno,4O\n", "5: las horas trabajadas no son un entero: \"4O\""},
        {"x1,Ana,5", "2: el id no es un entero: \"x1\""},
        {"2147483648,Ana,5", "2: el id está fuera del rango de -2147483648 a 2147483647: "
                             "\"2147483648\""},
        {"1,Ana,-2147483649", "2: las horas trabajadas están fuera del rango de -2147483648 a "
                              "2147483647: \"-2147483649\""},
        {"1Ana5", "2: faltan el nombre y las horas trabajadas: \"1Ana5\""},
        {"1,Ana", "2: faltan las horas trabajadas: \"1,Ana\""},
        {"1,,5", "2: el nombre está vacío: \"1,,5\""},
        {"1,Paz, Ana,40", "2: la línea tiene más de tres campos (el nombre no puede llevar "
                          "comas): \"1,Paz, Ana,40\""},
        {"1,,Ana,40", "2: la línea tiene más de tres campos (el nombre no puede llevar comas): "
                      "\"1,,Ana,40\""},
        {"1,Ana\rPaz,5\r\n", "2: el nombre tiene un carácter de control: \"Ana\\rPaz\""},
        {std::string("1,A\0a,5", 7), "2: el nombre tiene un carácter de control: \"A\\0a\""},
        {"1,Ana\x1b[2J,5", "2: el nombre tiene un carácter de control: \"Ana\\x1b[2J\""},
        {"1," + longName + ",5", "2: el nombre tiene más de " + std::to_string(NOMBRE_LENGTH) +
                                     " bytes: \"" + longName.substr(0, 60) + "\"..."},
        {"1,Ana," + std::string(300000, '0'), "2: la línea es demasiado larga (más de 262144 bytes)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parse((c.headed ? HEADER : "") + c.bytes), 0) << c.bytes;
        EXPECT_EQ(said, "archivo.csv:" + c.said + "\n");
    }
    EXPECT_EQ(parseFile(dir / "no-such-file.csv"), 0);
    EXPECT_EQ(said, "no-such-file.csv: no se pudo abrir: No such file or directory\n");
    EXPECT_EQ(parseFile(dir.path()), 0);
    EXPECT_EQ(said, dir.path().string() + ": no se pudo leer: Is a directory\n");
}

TEST_F(Parser, ABadLastLineAfterManyGoodOnesUndoesThemAll) {
    std::string bytes = HEADER;
    for (int i = 0; i < 100000; ++i) {
        bytes += std::to_string(i) + ",Empleado,40\n";
    }
    EXPECT_EQ(parse(bytes + "100000,Empleado"), 0);
    EXPECT_EQ(ll_len(list), 0);
    EXPECT_EQ(list->pFirstNode, nullptr);
}

TEST_F(Parser, AMissingFileANullPathOrANullListFails) {
    EXPECT_EQ(parseFile(dir / "no-such-file.csv"), 0);
    EXPECT_EQ(parseFile(dir.path()), 0);
    EXPECT_EQ(parser_parseEmpleados(nullptr, list), 0);
    console::writeFile(dir / "archivo.csv", std::string(HEADER) + "1,Ana,5\n");
    std::string name = (dir / "archivo.csv").string();
    EXPECT_EQ(parser_parseEmpleados(name.data(), nullptr), 0);
    EXPECT_EQ(ll_len(list), 0);
}

} // namespace
