// The sales program as built, run in folders of its own on files written for each case.
#include "console.h"
#include "files.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

using namespace std::string_literals;

const std::string HEADER = "id_venta,fecha_venta,tipo_foto,cantidad,precio_unitario,cuit_cliente\n";

std::string summary(int fotos, int mayor150, int mayor300, int polaroid, const std::string& alta) {
    return "Fotos reveladas: " + std::to_string(fotos) +
           "\nVentas mayores a 150: " + std::to_string(mayor150) +
           "\nVentas mayores a 300: " + std::to_string(mayor300) +
           "\nFotos Polaroid: " + std::to_string(polaroid) + "\nVenta mas alta: " + alta + "\n";
}

// Writes ventas.csv with the given bytes into a fresh folder and runs ventas there with args.
console::Run runOn(const std::string& bytes, std::vector<std::string> args = {}) {
    console::TempDir dir;
    console::writeFile(dir / "ventas.csv", bytes);
    args.insert(args.begin(), VENTAS_PATH);
    return console::runProgram(args, dir.path());
}

TEST(Ventas, SummarisesTheSampleFile) {
    console::TempDir dir;
    const auto run = console::runProgram({VENTAS_PATH, SAMPLE_DIR "/ventas.csv"}, dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, summary(400, 5, 3, 44, "375"));
}

TEST(Ventas, ThresholdsAreStrictAndOnlyExactPolaroidTypesCount) {
    const auto run = runOn(HEADER + "1,d,MATE,50,3.0,c\n"
                                    "2,d,MATE,51,3.0,c\n"
                                    "3,d,POLAROID_11x9,100,3.0,c\n"
                                    "4,d,POLAROID_10x10,101,3,c\n"
                                    "5,d,polaroid_10x10,7,1,c\n"
                                    "6,d,POLAROID_11x9 ,9,1,c\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, summary(318, 3, 1, 201, "303"));
}

TEST(Ventas, TakesSignedIntegersAndDecimalsWithAPoint) {
    // Leading zeros, -0, a point with no digits on one side; blank lines anywhere, also last.
    const auto run = runOn("\xEF\xBB\xBF" + HEADER +
                           "007,d,MATE,0002,2.75,c\n"
                           "\n"
                           "-0,d,MATE,2,100.,c\n"
                           " \t\n"
                           "3,d,MATE,-0,.5,c\n"
                           "4,d,MATE,3,-1.5,c\n\n");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output, summary(7, 1, 0, 0, "200"));
}

TEST(Ventas, SaysOnWhichLineAndWhyASaleIsRefused) {
    const struct {
        std::string lines;
        std::string said;
    } cases[] = {
        {"1,d,MATE,veinte,1,c\n", "2: la cantidad no es un entero: \"veinte\""},
        {"1,d,MATE,1,1,c\n\n2,d,MATE,5x,1,c\n", "4: la cantidad no es un entero: \"5x\""},
        {"1,d,MATE,,1,c\n", "2: la cantidad no es un entero: \"\""},
        {"1,d,MATE,99999999999,1,c\n",
         "2: la cantidad está fuera del rango de -2147483648 a 2147483647: \"99999999999\""},
        {"1,d,MATE,1,abc,c\n", "2: el precio unitario no es un número decimal: \"abc\""},
        {"1,d,MATE,1,1e2,c\n", "2: el precio unitario no es un número decimal: \"1e2\""},
        {"1,d,MATE,1,1.2.3,c\n", "2: el precio unitario no es un número decimal: \"1.2.3\""},
        {"1,d,MATE,1," + std::string(60, '9') + ",c\n",
         "2: el precio unitario es demasiado grande: \"" + std::string(60, '9') + "\""},
        {" 1 ,d,MATE,1,1,c\n", "2: el id de venta no es un entero: \" 1 \""},
        {"2147483648,d,MATE,1,1,c\n",
         "2: el id de venta está fuera del rango de -2147483648 a 2147483647: \"2147483648\""},
        {"1,d,MATE,1,\"2,5\",c\n", "2: la línea tiene 7 campos y no 6: \"1,d,MATE,1,\\\"2,5\\\",c\""},
        {"1,d,MATE,1,1,c\n2,d,MATE,1,1\r\n", "3: la línea tiene 5 campos y no 6: \"2,d,MATE,1,1\""},
        {"1,d,MATE,1,1,c,extra,x,y\n", "2: la línea tiene 9 campos y no 6: \"1,d,MATE,1,1,c,extra,x,y\""},
        // A NUL byte ends no field: not a number's, not a text's.
        {"1\0,d,MATE,1,1,c\n"s, "2: la línea tiene un byte nulo: \"1\\0,d,MATE,1,1,c\""},
        {"1,d,MATE,1,2\0.5,c\n"s, "2: la línea tiene un byte nulo: \"1,d,MATE,1,2\\0.5,c\""},
        {"1,d,MA\0TE,1,1,c\n"s, "2: la línea tiene un byte nulo: \"1,d,MA\\0TE,1,1,c\""},
    };
    for (const auto& c : cases) {
        const auto run = runOn(HEADER + c.lines);
        EXPECT_EQ(run.exitCode, 1) << c.lines;
        EXPECT_EQ(run.output, "ventas.csv:" + c.said + "\n");
    }
}

TEST(Ventas, AFirstLineThatIsNotTheHeaderIsRefused) {
    for (const std::string& first : {std::string("1,d,MATE,1,1,c"), std::string(""),
                                     std::string("id_venta,fecha_venta")}) {
        const auto run = runOn(first + "\n2,d,MATE,1,1,c\n");
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.output, "ventas.csv:1: la primera línea no es el encabezado "
                              "id_venta,fecha_venta,tipo_foto,cantidad,precio_unitario,"
                              "cuit_cliente: \"" +
                                  first + "\"\n");
    }
}

TEST(Ventas, NegativeQuantitiesAddNothingAndTheHighestSaleMayBeNegative) {
    const auto run = runOn(HEADER + "1,d,POLAROID_11x9,-3,2.75,c\n"
                                    "2,d,MATE,-10,1.5,c\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, summary(0, 0, 0, 0, "-8"));
}

TEST(Ventas, ANegativeZeroHighestSaleIsShownAsZero) {
    // -0 as a price, and amounts that truncate to zero from below.
    for (const char* sales : {"1,d,MATE,1,-0,c\n", "1,d,MATE,1,-0.5,c\n",
                                     "1,d,MATE,-3,0.25,c\n2,d,MATE,1,-0.0,c\n"}) {
        const auto run = runOn(HEADER + sales);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.output, summary(1, 0, 0, 0, "0")) << sales;
    }
}

TEST(Ventas, HugeAmountsAreClampedToTheIntRange) {
    const auto run = runOn(HEADER + "1,d,MATE,1000000,1000000,c\n"
                                    "2,d,MATE,2147483647,1,c\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, summary(2147483647, 2, 2, 0, "2147483520"));
}

TEST(Ventas, WithoutSalesEveryFigureIsZero) {
    for (const std::string& bytes : {HEADER, std::string(), HEADER.substr(0, HEADER.size() - 1)}) {
        const auto run = runOn(bytes);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.output, summary(0, 0, 0, 0, "0"));
    }
}

TEST(Ventas, AcceptsWindowsLineEndsAndAMissingFinalLineEnd) {
    std::string crlf = HEADER;
    crlf.insert(crlf.size() - 1, "\r");
    crlf += "1,d,POLAROID_10x10,4,40,c\r\n2,d,MATE,1,1,c";
    const auto run = runOn(crlf);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, summary(5, 1, 0, 4, "160"));
}

TEST(Ventas, LongFieldsAreCutNotRefused) {
    const std::string longText(2000, 'x');
    const auto run =
        runOn(HEADER + "1," + longText + ",POLAROID_11x9," + "3,100," + longText + "\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, summary(3, 1, 0, 3, "300"));
}

TEST(Ventas, ReadsAFileOfManySales) {
    std::string bytes = HEADER;
    for (int i = 0; i < 20000; i++) {
        bytes += std::to_string(i) + ",d," + (i % 4 == 0 ? "POLAROID_11x9" : "MATE") + ",2," +
                 std::to_string(i % 200) + ",c\n";
    }
    const auto run = runOn(bytes);
    EXPECT_EQ(run.exitCode, 0);
    // Amounts 2 x (0..199): above 150 from 76, above 300 from 151, the highest 398.
    EXPECT_EQ(run.output, summary(40000, 100 * 124, 100 * 49, 10000, "398"));
}

TEST(Ventas, FileThatCannotBeReadIsNamed) {
    console::TempDir dir;
    auto run = console::runProgram({VENTAS_PATH}, dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "ventas.csv: no se pudo abrir: No such file or directory\n");

    run = console::runProgram({VENTAS_PATH, "no/existe.csv"}, dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "no/existe.csv: no se pudo abrir: No such file or directory\n");

    std::filesystem::create_directory(dir / "carpeta");
    run = console::runProgram({VENTAS_PATH, "carpeta"}, dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "carpeta: no se pudo leer: Is a directory\n");
}

TEST(Ventas, HelpShowsTheUsageAndMoreThanOneArgumentToo) {
    const auto help = runOn(HEADER, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.output.starts_with("Uso: ventas [ARCHIVO]\n")) << help.output;
    const auto shortHelp = runOn(HEADER, {"-h"});
    EXPECT_EQ(shortHelp.exitCode, 0);
    EXPECT_EQ(shortHelp.output, help.output);
    const auto wrong = runOn(HEADER, {"ventas.csv", "otro.csv"});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(wrong.output.ends_with(help.output)) << wrong.output;
}

TEST(Ventas, OutputThatCannotBeWrittenIsAFailure) {
    const auto run = console::runProgram(
        {"/bin/sh", "-c", "exec \"$0\" \"$1\" >/dev/full", VENTAS_PATH, SAMPLE_DIR "/ventas.csv"});
    EXPECT_EQ(run.exitCode, 1);
}

} // namespace
