// The sales program as built, run in folders of its own on files written for each case.
#include "console.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

const std::string kHeader =
    "id_venta,fecha_venta,tipo_foto,cantidad,precio_unitario,cuit_cliente\n";

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
    const auto run = runOn(kHeader + "1,d,MATE,50,3.0,c\n"
                                     "2,d,MATE,51,3.0,c\n"
                                     "3,d,POLAROID_11x9,100,3.0,c\n"
                                     "4,d,POLAROID_10x10,101,3,c\n"
                                     "5,d,polaroid_10x10,7,1,c\n"
                                     "6,d,POLAROID_11x9 ,9,1,c\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, summary(318, 3, 1, 201, "303"));
}

TEST(Ventas, ConvertsFieldsAsTheRecordDoes) {
    // 7abc reads 7, 1e2 reads 100, letters and an empty field read 0, blanks around the id go.
    const auto run = runOn(kHeader + " 1 ,d,MATE,7abc,2.75,c\n"
                                     "2,d,MATE,2,1e2,c\n"
                                     "3,d,MATE,letras,5,c\n"
                                     "4,d,MATE,,5,c\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, summary(9, 1, 0, 0, "200"));
}

TEST(Ventas, NegativeQuantitiesAddNothingAndTheHighestSaleMayBeNegative) {
    const auto run = runOn(kHeader + "1,d,POLAROID_11x9,-3,2.75,c\n"
                                     "2,d,MATE,-10,1.5,c\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, summary(0, 0, 0, 0, "-8"));
}

TEST(Ventas, HugeAmountsAreClampedToTheIntRange) {
    const auto run = runOn(kHeader + "1,d,MATE,1000000,1e6,c\n"
                                     "2,d,MATE,99999999999,1,c\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, summary(2147483647, 2, 2, 0, "2147483520"));
}

TEST(Ventas, WithoutSalesEveryFigureIsZero) {
    for (const std::string& bytes :
         {kHeader, std::string(), kHeader.substr(0, kHeader.size() - 1)}) {
        const auto run = runOn(bytes);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.output, summary(0, 0, 0, 0, "0"));
    }
}

TEST(Ventas, AcceptsWindowsLineEndsAndAMissingFinalLineEnd) {
    const std::string crlf = "id,f,t,c,p,cuit\r\n1,d,POLAROID_10x10,4,40,c\r\n2,d,MATE,1,1,c";
    const auto run = runOn(crlf);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, summary(5, 1, 0, 4, "160"));
}

TEST(Ventas, LongFieldsAreCutNotRefused) {
    const std::string longText(2000, 'x');
    const auto run =
        runOn(kHeader + "1," + longText + ",POLAROID_11x9," + "3,100," + longText + "\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, summary(3, 1, 0, 3, "300"));
}

TEST(Ventas, ReadsAFileOfManySales) {
    std::string bytes = kHeader;
    for (int i = 0; i < 20000; i++) {
        bytes += std::to_string(i) + ",d," + (i % 4 == 0 ? "POLAROID_11x9" : "MATE") + ",2," +
                 std::to_string(i % 200) + ",c\n";
    }
    const auto run = runOn(bytes);
    EXPECT_EQ(run.exitCode, 0);
    // Amounts 2 x (0..199): above 150 from 76, above 300 from 151, the highest 398.
    EXPECT_EQ(run.output, summary(40000, 100 * 124, 100 * 49, 10000, "398"));
}

TEST(Ventas, LineWithoutSixFieldsIsNamedAndNothingElsePrinted) {
    const struct {
        std::string bytes;
        int line;
    } cases[] = {
        {kHeader + "1,d,MATE,1,1,c\n2,d,MATE,1,1\n", 3},
        {kHeader + "1,d,MATE,1,1,c,extra\n", 2},
        {kHeader + "1,d,MATE,1,1,c\n\n", 3},
        {"id_venta,fecha_venta\n1,d,MATE,1,1,c\n", 1},
        {kHeader + "1,d,MATE,1,\"2,5\",c\n", 2},
    };
    for (const auto& c : cases) {
        const auto run = runOn(c.bytes);
        EXPECT_EQ(run.exitCode, 1) << c.bytes;
        EXPECT_EQ(run.output, "Error leyendo ventas de ventas.csv: la linea " +
                                  std::to_string(c.line) + " no tiene 6 campos\n")
            << c.bytes;
    }
}

TEST(Ventas, FileThatCannotBeReadIsNamed) {
    console::TempDir dir;
    auto run = console::runProgram({VENTAS_PATH}, dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "Error leyendo ventas de ventas.csv: no se pudo abrir el archivo\n");

    run = console::runProgram({VENTAS_PATH, "no/existe.csv"}, dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "Error leyendo ventas de no/existe.csv: no se pudo abrir el archivo\n");

    std::filesystem::create_directory(dir / "carpeta");
    run = console::runProgram({VENTAS_PATH, "carpeta"}, dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "Error leyendo ventas de carpeta: no se pudo leer el archivo\n");
}

TEST(Ventas, MoreThanOneArgumentShowsTheUsage) {
    const auto run = runOn(kHeader, {"ventas.csv", "otro.csv"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.output, "Uso: ventas [ARCHIVO]\n");
}

} // namespace
