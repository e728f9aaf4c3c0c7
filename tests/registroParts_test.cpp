// The register program's parts: the rules for names, numbers and salaries, and the register file
// written and read back.
#include "console.h"
#include "files.h"
#include "employeeFields.h"
#include "registerFile.h"

#include <climits>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

// What readName stored, or "(none)" when it refused the text.
std::string nameOf(std::string_view text, NameCheck expected = NameCheck::ok) {
    char field[NAME_LENGTH + 1] = "(none)";
    EXPECT_EQ(readName(text, field), expected) << text;
    return field;
}

TEST(RegistroFields, NamesTakeLettersOfAnyLanguageAndJoinersBetweenLetters) {
    for (const char* name : {"José", "Muñoz", "Pérez-López", "O'Brien", "Ñandú", "François",
                             "Łukasz", "Ελένη", "María José", "D'Artagnan-Smith"}) {
        EXPECT_EQ(nameOf(name), name);
    }
    EXPECT_EQ(nameOf("  Ana  Paz "), "Ana  Paz");
    for (const std::string_view bad :
         {""s, "   "s, "-"s, "Ana-"s, "-Ana"s, "Ana--Paz"s, "Ana -Paz"s, "O''Brien"s, "Ana1"s,
          "Ana,Paz"s, "Ana\tPaz"s, "Ana\0Paz"s, "Jos\xC3"s, "\xC3\x28"s, "\xC0\xAF"s,
          "Jose\xCC\x81"s /* a combining accent is no letter */}) {
        EXPECT_EQ(nameOf(bad, NameCheck::notAName), "(none)");
    }
}

TEST(RegistroFields, ALongNameIsCutAtACharacterBoundaryWithinFiftyBytes) {
    const std::string a49(49, 'a');
    EXPECT_EQ(nameOf(a49 + "a"), a49 + "a");
    EXPECT_EQ(nameOf(a49 + "ab", NameCheck::cut), a49 + "a");
    EXPECT_EQ(nameOf(a49 + "é", NameCheck::cut), a49); // é takes bytes 50 and 51
    EXPECT_EQ(nameOf(a49 + "-bc", NameCheck::cut), a49);
    EXPECT_EQ(nameOf(std::string(45, 'a') + " ñññ", NameCheck::cut), std::string(45, 'a') + " ññ");
    EXPECT_EQ(nameOf("ñ" + std::string(60, 'x'), NameCheck::cut), "ñ" + std::string(48, 'x'));
    // Everything is checked, the part cut off too.
    EXPECT_EQ(nameOf(a49 + "aaaa1", NameCheck::notAName), "(none)");
}

TEST(RegistroFields, WholeNumbersAreDigitsFromOneToIntMax) {
    int value = -7;
    EXPECT_TRUE(readWholeNumber("007", value));
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(readWholeNumber("2147483647", value));
    EXPECT_EQ(value, INT_MAX);
    for (const char* bad :
         {"", "0", "-1", "+1", " 1", "1 ", "1.0", "2147483648", "99999999999999999999"}) {
        EXPECT_FALSE(readWholeNumber(bad, value)) << bad;
    }
    EXPECT_EQ(value, INT_MAX);
}

// The salary as shown and saved: two decimals.
std::string shown(float salary) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(salary));
    return text;
}

TEST(RegistroFields, SalariesHaveAtMostTwoDecimalsUpToTheMaximum) {
    const std::vector<std::pair<const char*, const char*>> good = {{"0", "0.00"},
                                                                   {"1234.5", "1234.50"},
                                                                   {"1234.56", "1234.56"},
                                                                   {".5", "0.50"},
                                                                   {"5.", "5.00"},
                                                                   {"000100000.00", "100000.00"},
                                                                   {"99999.99", "99999.99"},
                                                                   {"1500,5", "1500.50"},
                                                                   {",05", "0.05"}};
    for (const auto& [text, expected] : good) {
        float salary = -1.0f;
        EXPECT_TRUE(readSalary(text, salary)) << text;
        EXPECT_EQ(shown(salary), expected);
    }
    float salary = 7.0f;
    for (const char* bad : {"", ".", "1234.567", "100000.01", "16777217", "1,5.0", "1,555", "-1",
                            "1e3", " 1", "1.2.3", "0x10", "1234567890123"}) {
        EXPECT_FALSE(readSalary(bad, salary)) << bad;
    }
    EXPECT_EQ(salary, 7.0f);
}

TEST(RegistroFields, EverySalaryUpToTheMaximumShowsAsTyped) {
    for (long long cents = 0; cents <= HIGHEST_SALARY_CENTS; cents += 997) {
        char typed[32];
        std::snprintf(typed, sizeof typed, "%lld.%02lld", cents / 100, cents % 100);
        float salary = 0.0f;
        ASSERT_TRUE(readSalary(typed, salary));
        ASSERT_EQ(shown(salary), typed);
    }
}

// A register on the heap (its table is 120 KB) that reads and writes path.
struct Session {
    std::unique_ptr<Register> reg = std::make_unique<Register>();
    std::string path;
    explicit Session(const fs::path& file) : path(file.string()) {
        reg->path = path.c_str();
        initEmployees(reg->table, EMPLOYEES);
    }
    // Loads the file; what the loader printed, "" when it took the file.
    std::string load() {
        bool loaded = false;
        std::string said = console::captureStdout([&] { loaded = loadRegister(*reg); });
        EXPECT_EQ(loaded, said.empty()) << said;
        return said;
    }
    void add(int id, const char* name, const char* lastName, float salary, int sector) {
        ASSERT_EQ(addEmployee(reg->table, EMPLOYEES, id, const_cast<char*>(name),
                              const_cast<char*>(lastName), salary, sector),
                  CORRECTO);
    }
};

const std::string HEADER = "id,nombre,apellido,salario,sector\n";

TEST(RegisterFile, SavesAndLoadsBackEveryFieldInTableOrder) {
    console::TempDir dir;
    Session first(dir / "empleados.csv");
    first.add(7, "José María", "Pérez-López", 1234.5f, 3);
    first.add(3, "Gone", "Soon", 1.0f, 1);
    first.add(2, "O'Brien", "Ñandú", 0.0f, 1);
    first.add(INT_MAX, "Eva", "Luna", 100000.0f, INT_MAX);
    removeEmployee(first.reg->table, EMPLOYEES, 3); // a free slot between two employees
    ASSERT_TRUE(saveRegister(*first.reg));
    const std::string saved = HEADER + "7,José María,Pérez-López,1234.50,3\n"s +
                              "2,O'Brien,Ñandú,0.00,1\n2147483647,Eva,Luna,100000.00,2147483647\n";
    EXPECT_EQ(console::readFile(first.path), saved);

    Session second(first.path);
    EXPECT_EQ(second.load(), "");
    EXPECT_EQ(second.reg->occupied, 3);
    EXPECT_EQ(second.reg->highestId, INT_MAX);
    const Employee& jose = second.reg->table[0];
    EXPECT_EQ(jose.id, 7);
    EXPECT_STREQ(jose.name, "José María");
    EXPECT_STREQ(jose.lastName, "Pérez-López");
    EXPECT_EQ(jose.salary, 1234.5f);
    EXPECT_EQ(jose.sector, 3);
    EXPECT_EQ(jose.isEmpty, 1);
    EXPECT_STREQ(second.reg->table[1].lastName, "Ñandú");
    EXPECT_EQ(second.reg->table[3].isEmpty, 0);
    ASSERT_TRUE(saveRegister(*second.reg));
    EXPECT_EQ(console::readFile(first.path), saved);
}

TEST(RegisterFile, LoadingTakesCrLfAByteOrderMarkBlankLinesEmptyRowsAndNoFileAtAll) {
    console::TempDir dir;
    Session missing(dir / "nada.csv");
    EXPECT_EQ(missing.load(), "");
    EXPECT_EQ(missing.reg->occupied, 0);
    EXPECT_FALSE(fs::exists(dir / "nada.csv"));

    console::writeFile(dir / "vacio.csv", "");
    EXPECT_EQ(Session(dir / "vacio.csv").load(), "");

    console::writeFile(dir / "hoja.csv", "\xEF\xBB\xBFid,nombre,apellido,salario,sector\r\n"
                                         "7,Eva,Luna,1234.5,3\r\n\r\n \t\n2,Ana,Paz,10,1");
    Session sheet(dir / "hoja.csv");
    EXPECT_EQ(sheet.load(), "");
    EXPECT_EQ(sheet.reg->occupied, 2);
    EXPECT_EQ(sheet.reg->highestId, 7);
    EXPECT_STREQ(sheet.reg->table[1].lastName, "Paz");

    // Rows left empty in a spreadsheet come as bare separators.
    console::writeFile(dir / "filas.csv",
                       "id;nombre;apellido;salario;sector\n;;;;\n7;Eva;Luna;1,5;3\n ; ;;;\n;;;;");
    Session rows(dir / "filas.csv");
    EXPECT_EQ(rows.load(), "");
    EXPECT_EQ(rows.reg->occupied, 1);
    EXPECT_EQ(rows.reg->table[0].salary, 1.5f);
}

TEST(RegisterFile, RefusesAFileThatIsNoRegisterNamingTheLineAndTheReason) {
    const std::string eva = "7,Eva,Luna,1.00,3\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"nombre,id\n",
         "1: la primera línea debe ser id,nombre,apellido,salario,sector, con \",\" o "
         "con \";\" entre los nombres"},
        {HEADER + "7,Eva,Luna,1.00\n"s,
         "2: se esperan 5 campos: id,nombre,apellido,salario,sector"},
        {HEADER + "7,Eva,Luna,1,00,3\n"s,
         "2: un salario con coma decimal va entre comillas si \",\" separa los campos: \"1,00\""},
        {HEADER + "7,Eva,Luna,1,000,3\n"s,
         "2: se esperan 5 campos: id,nombre,apellido,salario,sector"},
        {HEADER + "0,Eva,Luna,1.00,3\n"s, "2: el id debe ser un número entero de 1 en adelante"},
        {HEADER + eva + eva, "3: el id 7 ya está en la línea 2"},
        {HEADER + "7,Eva2,Luna,1.00,3\n"s, "2: el nombre debe tener " + std::string(NAME_RULE)},
        {HEADER + "7,Eva,Lu\xF1"
                  "a,1.00,3\n"s,
         "2: el apellido debe tener " + std::string(NAME_RULE)},
        {HEADER + "7," + std::string(51, 'e') + ",Luna,1.00,3\n",
         "2: el nombre tiene más de 50 bytes"},
        {HEADER + "7,Eva,Luna,1.005,3\n"s, "2: el salario debe ser " + std::string(SALARY_RULE)},
        {HEADER + "7,Eva,Luna,,3\n"s, "2: el salario debe ser " + std::string(SALARY_RULE)},
        {HEADER + "7,Eva,Luna,1.00,-3\n"s,
         "2: el sector debe ser un número entero de 1 en adelante"},
        {HEADER + std::string(5000, '7') + "\n",
         "2: la línea es demasiado larga (más de 4096 bytes)"},
        {"id;nombre;apellido;salario;sector\n7;Eva;Luna;1,00;3\n8,Ana,Paz,1.00,1\n",
         "3: la línea separa los campos con \",\" y la primera línea con \";\""},
        {HEADER + "7;Eva;Luna;1,00;3\n", "2: la línea separa los campos con \";\" y la primera "
                                         "línea con \",\""},
        {"id;nombre;apellido;salario;sector\n7;Eva;Luna;1,00\n",
         "2: se esperan 5 campos: id;nombre;apellido;salario;sector"},
        {HEADER + "7,\"Eva,Luna,1.00,3\n", "2: un campo entre comillas no se cierra"},
        {HEADER + "7,\"Eva\" ,Luna,1.00,3\n",
         "2: tras las comillas que cierran un campo debe venir \",\""},
        {HEADER + "7,Eva,\"Lu\"\"na\",1.00,3\n",
         "2: el apellido debe tener " + std::string(NAME_RULE)},
        {"id;nombre;apellido;salario\n", "1: la primera línea debe ser id,nombre,apellido,salario,"
                                         "sector, con \",\" o con \";\" entre los nombres"},
    };
    console::TempDir dir;
    for (const auto& [content, reason] : cases) {
        console::writeFile(dir / "empleados.csv", content);
        EXPECT_EQ(Session(dir / "empleados.csv").load(),
                  (dir / "empleados.csv").string() + ":" + reason + "\n");
        EXPECT_EQ(console::readFile(dir / "empleados.csv"), content);
    }
    fs::create_directory(dir / "carpeta.csv");
    EXPECT_EQ(Session(dir / "carpeta.csv").load(),
              (dir / "carpeta.csv").string() + ": no se pudo leer: Is a directory\n");
}

// A register as spreadsheets write it comes back byte for byte, and an employee added to it is
// written alike.
TEST(RegisterFile, KeepsTheFormTheFileWasWrittenIn) {
    struct Form {
        const char* what;
        std::string file;
        std::string added; // the line of Luz Ñandú, id 9
    };
    const std::vector<Form> forms = {
        {"ours", HEADER + "7,José,Pérez-López,1500.50,3\n", "9,Luz,Ñandú,10.50,2\n"},
        {"a spreadsheet set for Spanish",
         "\xEF\xBB\xBFid;nombre;apellido;salario;sector\r\n7;José;Pérez-López;1500,50;3\r\n",
         "9;Luz;Ñandú;10,50;2\r\n"},
        {"text in quotes",
         "\"id\";\"nombre\";\"apellido\";\"salario\";\"sector\"\n7;\"José\";\"Pérez-López\";1500,"
         "50;3\n",
         "9;\"Luz\";\"Ñandú\";10,50;2\n"},
        {"everything in quotes",
         "\"id\",\"nombre\",\"apellido\",\"salario\",\"sector\"\r\n"
         "\"7\",\"José\",\"Pérez-López\",\"1500,50\",\"3\"\r\n",
         "\"9\",\"Luz\",\"Ñandú\",\"10,50\",\"2\"\r\n"},
        {"commas, and quotes where needed", HEADER + "7,José,Pérez-López,\"1500,50\",3\n",
         "9,Luz,Ñandú,\"10,50\",2\n"},
        {"semicolons with decimal points",
         "id;nombre;apellido;salario;sector\n7;José;Pérez-López;1500;3\n8;Eva;Luna;2.50;1\n",
         "9;Luz;Ñandú;10.50;2\n"},
        {"semicolons, no employee yet", "id;nombre;apellido;salario;sector\r\n",
         "9;Luz;Ñandú;10,50;2\r\n"},
    };
    console::TempDir dir;
    for (const Form& form : forms) {
        SCOPED_TRACE(form.what);
        const fs::path file = dir / "empleados.csv";
        console::writeFile(file, form.file);
        Session session(file);
        ASSERT_EQ(session.load(), "");
        ASSERT_TRUE(saveRegister(*session.reg));
        std::string saved = form.file;
        // A whole salary is written with its two decimals.
        if (const size_t whole = saved.find(";1500;"); whole != std::string::npos) {
            saved.replace(whole, 6, ";1500.00;");
        }
        EXPECT_EQ(console::readFile(file), saved);
        session.add(9, "Luz", "Ñandú", 10.5f, 2);
        ASSERT_TRUE(saveRegister(*session.reg));
        EXPECT_EQ(console::readFile(file), saved + form.added);
    }
}

TEST(RegisterFile, HoldsAThousandEmployeesAndRefusesOneMore) {
    console::TempDir dir;
    std::string content = HEADER;
    for (int id = 1; id <= EMPLOYEES; ++id) {
        content += std::to_string(id) + ",Ana,Paz,1.00,1\n";
    }
    console::writeFile(dir / "lleno.csv", content);
    Session full(dir / "lleno.csv");
    EXPECT_EQ(full.load(), "");
    EXPECT_EQ(full.reg->occupied, EMPLOYEES);
    console::writeFile(dir / "lleno.csv", content + "1001,Eva,Sol,1.00,1\n");
    EXPECT_EQ(Session(dir / "lleno.csv").load(),
              (dir / "lleno.csv").string() + ":1002: hay más de 1000 empleados\n");
}

} // namespace
