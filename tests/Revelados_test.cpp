#include "Revelados.h"

#include "cText.h"
#include "console.h"

#include <array>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

struct Free {
    void operator()(Revelado* revelado) const {
        std::free(revelado);
    }
};
using Record = std::unique_ptr<Revelado, Free>;

// A record from six texts; fields left out keep a plain sale.
Record fromTexts(const char* id, const char* cantidad, const char* precio,
                 const char* tipo = "MATE_10x15", const char* fecha = "01/02/2024",
                 const char* cuit = "20-12345678-9") {
    return Record(revelado_newParametros(text(id), text(fecha), text(tipo), text(cantidad),
                                         text(precio), text(cuit)));
}

Record sale(int cantidad, float precio, const char* tipo = "MATE_10x15") {
    Record revelado(revelado_new());
    EXPECT_NE(revelado, nullptr);
    revelados_setCantidad(revelado.get(), cantidad);
    revelados_setPrecio(revelado.get(), precio);
    revelados_setTipo(revelado.get(), text(tipo));
    return revelado;
}

int cantidadOf(const char* cantidad) {
    const Record r = fromTexts("1", cantidad, "1");
    return r->Cantidad;
}

float precioOf(const char* precio) {
    const Record r = fromTexts("1", "1", precio);
    return r->Precio_Unitario;
}

// The three texts of a record as its getters hand them over.
struct Texts {
    std::string fecha, tipo, cuit;
};

Texts textsOf(Revelado* revelado) {
    std::array<char, REVELADOS_TEXT_SIZE> fecha{}, tipo{}, cuit{};
    EXPECT_EQ(revelados_getFecha(revelado, fecha.data()), 0);
    EXPECT_EQ(revelados_getTipo(revelado, tipo.data()), 0);
    EXPECT_EQ(revelados_getCUIT(revelado, cuit.data()), 0);
    return {fecha.data(), tipo.data(), cuit.data()};
}

TEST(ReveladoNew, GettersReadZerosAndEmptyTexts) {
    const Record r(revelado_new());
    ASSERT_NE(r, nullptr);
    int id = 9, cantidad = 9;
    float precio = 9.0f;
    EXPECT_EQ(revelados_getId(r.get(), &id), 0);
    EXPECT_EQ(revelados_getCantidad(r.get(), &cantidad), 0);
    EXPECT_EQ(revelados_getPrecio(r.get(), &precio), 0);
    EXPECT_EQ(id, 0);
    EXPECT_EQ(cantidad, 0);
    EXPECT_EQ(precio, 0.0f);
    const Texts texts = textsOf(r.get());
    EXPECT_EQ(texts.fecha, "");
    EXPECT_EQ(texts.tipo, "");
    EXPECT_EQ(texts.cuit, "");
}

TEST(ReveladoNewParametros, ConvertsTheNumbersAndKeepsTheTexts) {
    const Record r = fromTexts("12", "3", "2.5", "POLAROID_11x9", "2024-03-05", "30-7654321-0");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->ID_Venta, 12);
    EXPECT_EQ(r->Cantidad, 3);
    EXPECT_EQ(r->Precio_Unitario, 2.5f);
    const Texts texts = textsOf(r.get());
    EXPECT_EQ(texts.fecha, "2024-03-05");
    EXPECT_EQ(texts.tipo, "POLAROID_11x9");
    EXPECT_EQ(texts.cuit, "30-7654321-0");
}

TEST(ReveladoNewParametros, ReadsIntegersAsAtoiDoes) {
    EXPECT_EQ(cantidadOf("12"), 12);
    EXPECT_EQ(cantidadOf("7abc"), 7);
    EXPECT_EQ(cantidadOf("-4"), -4);
    EXPECT_EQ(cantidadOf("+8"), 8);
    EXPECT_EQ(cantidadOf(" \t 5"), 5);
    EXPECT_EQ(cantidadOf("2.9"), 2);
    EXPECT_EQ(cantidadOf("0x10"), 0) << "decimal only";
    EXPECT_EQ(cantidadOf("abc"), 0);
    EXPECT_EQ(cantidadOf(""), 0);
    EXPECT_EQ(cantidadOf("- 3"), 0);
    EXPECT_EQ(fromTexts("-77", "1", "1")->ID_Venta, -77);
}

TEST(ReveladoNewParametros, ClampsIntegersBeyondThe32BitRange) {
    EXPECT_EQ(cantidadOf("2147483647"), INT_MAX);
    EXPECT_EQ(cantidadOf("2147483648"), INT_MAX);
    EXPECT_EQ(cantidadOf("-2147483648"), INT_MIN);
    EXPECT_EQ(cantidadOf("-2147483649"), INT_MIN);
    EXPECT_EQ(cantidadOf("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(fromTexts("-99999999999999999999999", "1", "1")->ID_Venta, INT_MIN);
}

TEST(ReveladoNewParametros, ReadsPricesAsAtofDoesNarrowedToTheNearestFloat) {
    EXPECT_EQ(precioOf("1e2"), 100.0f);
    EXPECT_EQ(precioOf("2,5"), 2.0f);
    EXPECT_EQ(precioOf("0.1"), 0.1f);
    EXPECT_EQ(precioOf(" -3.25kg"), -3.25f);
    EXPECT_EQ(precioOf("letras"), 0.0f);
    EXPECT_EQ(precioOf(""), 0.0f);
    EXPECT_EQ(precioOf("3.4028235e38"), FLT_MAX);
    EXPECT_EQ(precioOf("1e300"), INFINITY);
    EXPECT_EQ(precioOf("-1e300"), -INFINITY);
    EXPECT_EQ(precioOf("1e-60"), 0.0f);
    EXPECT_TRUE(std::isnan(precioOf("nan")));
}

TEST(ReveladoNewParametros, CutsLongTextsTo127Characters) {
    const std::string exact(127, 'e');
    const std::string longer(300, 'l');
    const Record r = fromTexts("1", "1", "1", longer.c_str(), exact.c_str(), longer.c_str());
    ASSERT_NE(r, nullptr);
    const Texts texts = textsOf(r.get());
    EXPECT_EQ(texts.fecha, exact);
    EXPECT_EQ(texts.tipo, longer.substr(0, 127));
    EXPECT_EQ(texts.cuit, longer.substr(0, 127));
    EXPECT_EQ(r->Cantidad, 1) << "the field after Tipo_Foto is intact";
}

TEST(ReveladoNewParametros, AnyNullArgumentGivesNull) {
    for (int missing = 0; missing < 6; missing++) {
        std::array<char*, 6> args{text("1"), text("f"),   text("t"),
                                  text("2"), text("3.5"), text("c")};
        args[missing] = nullptr;
        EXPECT_EQ(revelado_newParametros(args[0], args[1], args[2], args[3], args[4], args[5]),
                  nullptr)
            << "argument " << missing;
    }
}

TEST(ReveladosSetters, StoreAnyValueUnchanged) {
    const Record r(revelado_new());
    EXPECT_EQ(revelados_setId(r.get(), -5), 0);
    EXPECT_EQ(revelados_setCantidad(r.get(), INT_MIN), 0);
    EXPECT_EQ(revelados_setPrecio(r.get(), -0.5f), 0);
    int id = 0, cantidad = 0;
    float precio = 0;
    EXPECT_EQ(revelados_getId(r.get(), &id), 0);
    EXPECT_EQ(revelados_getCantidad(r.get(), &cantidad), 0);
    EXPECT_EQ(revelados_getPrecio(r.get(), &precio), 0);
    EXPECT_EQ(id, -5);
    EXPECT_EQ(cantidad, INT_MIN);
    EXPECT_EQ(precio, -0.5f);
}

TEST(ReveladosSetters, TextsOf127KeepWholeLongerAreCutShorterReplace) {
    const Record r(revelado_new());
    const std::string exact(127, 'x');
    const std::string longer(128, 'y');
    EXPECT_EQ(revelados_setFecha(r.get(), text(exact.c_str())), 0);
    EXPECT_EQ(revelados_setTipo(r.get(), text(longer.c_str())), 0);
    EXPECT_EQ(revelados_setCUIT(r.get(), text(exact.c_str())), 0);
    Texts texts = textsOf(r.get());
    EXPECT_EQ(texts.fecha, exact);
    EXPECT_EQ(texts.tipo, longer.substr(0, 127));
    EXPECT_EQ(texts.cuit, exact);
    EXPECT_EQ(r->Fecha_Venta[127], '\0');
    EXPECT_EQ(r->Tipo_Foto[127], '\0');

    EXPECT_EQ(revelados_setFecha(r.get(), text("hoy")), 0);
    EXPECT_EQ(revelados_setTipo(r.get(), text("")), 0);
    EXPECT_EQ(revelados_setCUIT(r.get(), r->CUIT_Cliente), 0) << "its own text";
    texts = textsOf(r.get());
    EXPECT_EQ(texts.fecha, "hoy");
    EXPECT_EQ(texts.tipo, "");
    EXPECT_EQ(texts.cuit, exact);
}

TEST(ReveladosSetters, NullTextChangesNothing) {
    const Record r = fromTexts("1", "1", "1", "tipo", "fecha", "cuit");
    EXPECT_EQ(revelados_setFecha(r.get(), nullptr), -1);
    EXPECT_EQ(revelados_setTipo(r.get(), nullptr), -1);
    EXPECT_EQ(revelados_setCUIT(r.get(), nullptr), -1);
    const Texts texts = textsOf(r.get());
    EXPECT_EQ(texts.fecha, "fecha");
    EXPECT_EQ(texts.tipo, "tipo");
    EXPECT_EQ(texts.cuit, "cuit");
}

TEST(ReveladosAccessors, NullRecordOrOutArgumentFailsSilentlyAndTouchesNothing) {
    const Record r = fromTexts("4", "5", "6.5", "tipo", "fecha", "cuit");
    const std::string out = console::captureStdout([&] {
        EXPECT_EQ(revelados_setId(nullptr, 1), -1);
        EXPECT_EQ(revelados_setFecha(nullptr, text("f")), -1);
        EXPECT_EQ(revelados_setTipo(nullptr, text("t")), -1);
        EXPECT_EQ(revelados_setCantidad(nullptr, 1), -1);
        EXPECT_EQ(revelados_setPrecio(nullptr, 1.0f), -1);
        EXPECT_EQ(revelados_setCUIT(nullptr, text("c")), -1);

        int number = 42;
        float precio = 4.2f;
        char buffer[REVELADOS_TEXT_SIZE] = "antes";
        EXPECT_EQ(revelados_getId(nullptr, &number), -1);
        EXPECT_EQ(revelados_getCantidad(nullptr, &number), -1);
        EXPECT_EQ(revelados_getPrecio(nullptr, &precio), -1);
        EXPECT_EQ(revelados_getFecha(nullptr, buffer), -1);
        EXPECT_EQ(revelados_getTipo(nullptr, buffer), -1);
        EXPECT_EQ(revelados_getCUIT(nullptr, buffer), -1);
        EXPECT_EQ(number, 42);
        EXPECT_EQ(precio, 4.2f);
        EXPECT_STREQ(buffer, "antes");

        EXPECT_EQ(revelados_getId(r.get(), nullptr), -1);
        EXPECT_EQ(revelados_getCantidad(r.get(), nullptr), -1);
        EXPECT_EQ(revelados_getPrecio(r.get(), nullptr), -1);
        EXPECT_EQ(revelados_getFecha(r.get(), nullptr), -1);
        EXPECT_EQ(revelados_getTipo(r.get(), nullptr), -1);
        EXPECT_EQ(revelados_getCUIT(r.get(), nullptr), -1);
    });
    EXPECT_EQ(out, "");
}

TEST(ReveladosThresholds, AmountMustExceedTheThreshold) {
    EXPECT_EQ(revelados_ventaMayor150(sale(50, 3.0f).get()), -1) << "exactly 150";
    EXPECT_EQ(revelados_ventaMayor150(sale(51, 3.0f).get()), 1);
    EXPECT_EQ(revelados_ventaMayor150(sale(100, 3.0f).get()), 1);
    EXPECT_EQ(revelados_ventaMayor300(sale(100, 3.0f).get()), -1) << "exactly 300";
    EXPECT_EQ(revelados_ventaMayor300(sale(101, 3.0f).get()), 1);
    for (const Record& r : {sale(0, 3.0f), sale(5, 0.0f), sale(-100, 3.0f)}) {
        EXPECT_EQ(revelados_ventaMayor150(r.get()), -1);
        EXPECT_EQ(revelados_ventaMayor300(r.get()), -1);
    }
    EXPECT_EQ(revelados_ventaMayor300(sale(-100, -3.01f).get()), 1) << "two negatives";
}

TEST(ReveladosThresholds, NotANumberNeverQualifies) {
    const Record r = sale(1000, NAN);
    EXPECT_EQ(revelados_ventaMayor150(r.get()), -1);
    EXPECT_EQ(revelados_ventaMayor300(r.get()), -1);
    EXPECT_EQ(revelados_mayorPreciodeVenta(r.get()), 0.0f);
    EXPECT_EQ(revelados_ventaMayor300(sale(0, INFINITY).get()), -1) << "0 x inf is NaN";
}

TEST(ReveladosMayorPrecio, TruncatesTowardZero) {
    EXPECT_EQ(revelados_mayorPreciodeVenta(sale(3, 2.75f).get()), 8.0f);
    EXPECT_EQ(revelados_mayorPreciodeVenta(sale(-3, 2.75f).get()), -8.0f);
    EXPECT_EQ(revelados_mayorPreciodeVenta(sale(0, 2.75f).get()), 0.0f);
    EXPECT_EQ(revelados_mayorPreciodeVenta(sale(7, 0.0f).get()), 0.0f);
    EXPECT_EQ(revelados_mayorPreciodeVenta(sale(1, 0.99f).get()), 0.0f);
    EXPECT_EQ(revelados_mayorPreciodeVenta(sale(10, 15.5f).get()), 155.0f);
    // A whole number is an int's value: no amount truncates to -0.
    for (const float price : {-0.0f, -0.5f}) {
        EXPECT_FALSE(std::signbit(revelados_mayorPreciodeVenta(sale(1, price).get()))) << price;
    }
}

TEST(ReveladosMayorPrecio, ClampsAmountsBeyondTheIntRange) {
    const float intMax = 2147483520.0f; // the largest float an int can hold
    const float intMin = static_cast<float>(INT_MIN);
    EXPECT_EQ(revelados_mayorPreciodeVenta(sale(1000000, 1.0e6f).get()), intMax);
    EXPECT_EQ(revelados_mayorPreciodeVenta(sale(-1000000, 1.0e6f).get()), intMin);
    EXPECT_EQ(revelados_mayorPreciodeVenta(sale(1, INFINITY).get()), intMax);
    EXPECT_EQ(revelados_mayorPreciodeVenta(sale(1, -INFINITY).get()), intMin);
    EXPECT_EQ(revelados_mayorPreciodeVenta(sale(1, -2147483648.0f).get()), intMin);
    EXPECT_EQ(revelados_mayorPreciodeVenta(sale(1, 2147483520.0f).get()), intMax);
    EXPECT_EQ(static_cast<int>(revelados_mayorPreciodeVenta(sale(1, INFINITY).get())), 2147483520)
        << "converting the result back to int stays defined";
}

TEST(ReveladosPolaroid, ExactCaseSensitiveTypesOnly) {
    for (const char* tipo : {"POLAROID_10x10", "POLAROID_11x9"}) {
        const Record r = sale(4, 1.0f, tipo);
        EXPECT_EQ(revelados_polaroid(r.get()), 4) << tipo;
        EXPECT_EQ(revelados_filtraPolaroid(r.get()), 1) << tipo;
    }
    for (const char* tipo : {"polaroid_10x10", "POLAROID_10X10", " POLAROID_11x9", "POLAROID_11x9 ",
                             "POLAROID_11x", "POLAROID", "", "MATE_10x15"}) {
        const Record r = sale(4, 1.0f, tipo);
        EXPECT_EQ(revelados_polaroid(r.get()), -1) << '"' << tipo << '"';
        EXPECT_EQ(revelados_filtraPolaroid(r.get()), -1) << '"' << tipo << '"';
    }
}

TEST(ReveladosPolaroid, ReturnsTheQuantityWhateverItIs) {
    EXPECT_EQ(revelados_polaroid(sale(0, 1.0f, "POLAROID_11x9").get()), 0);
    EXPECT_EQ(revelados_polaroid(sale(-1, 1.0f, "POLAROID_11x9").get()), -1);
    EXPECT_EQ(revelados_filtraPolaroid(sale(-1, 1.0f, "POLAROID_11x9").get()), 1);
}

TEST(ReveladosTotalesCount, ReturnsTheQuantityUnchanged) {
    EXPECT_EQ(revelados_totalesCount(sale(17, 1.0f).get()), 17);
    EXPECT_EQ(revelados_totalesCount(sale(0, 1.0f).get()), 0);
    EXPECT_EQ(revelados_totalesCount(sale(-6, 1.0f).get()), -6);
}

TEST(ReveladosCallbacks, NullElementIsNeverRead) {
    EXPECT_EQ(revelados_totalesCount(nullptr), 0);
    EXPECT_EQ(revelados_ventaMayor150(nullptr), -1);
    EXPECT_EQ(revelados_ventaMayor300(nullptr), -1);
    EXPECT_EQ(revelados_mayorPreciodeVenta(nullptr), 0.0f);
    EXPECT_EQ(revelados_polaroid(nullptr), -1);
    EXPECT_EQ(revelados_filtraPolaroid(nullptr), -1);
}

TEST(ReveladosCallbacks, TypeFilledToTheLastByteIsComparedWithoutReadingPastIt) {
    const Record r = sale(3, 1.0f);
    std::memset(r->Tipo_Foto, 'P', sizeof r->Tipo_Foto);
    EXPECT_EQ(revelados_polaroid(r.get()), -1);
    EXPECT_EQ(revelados_filtraPolaroid(r.get()), -1);
    char buffer[REVELADOS_TEXT_SIZE];
    EXPECT_EQ(revelados_getTipo(r.get(), buffer), 0);
    EXPECT_EQ(std::string(buffer), std::string(127, 'P'));
}

} // namespace
