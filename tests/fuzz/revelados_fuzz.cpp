// Fuzzes revelado_newParametros with six arbitrary texts: the record keeps each text's first 127
// characters, converts the numbers without undefined behaviour, and every callback answers one of
// its documented values for it.
#include "Revelados.h"

#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <vector>

namespace {

void require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// Whether field holds the first 127 characters of text, terminated.
bool keeps(const char* field, const char* text) {
    const std::size_t length = strnlen(text, REVELADOS_TEXT_SIZE - 1);
    return std::strlen(field) == length && std::memcmp(field, text, length) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    // Each text in a heap block of exactly its length and terminator, so that reading past it is
    // caught.
    std::vector<std::vector<char>> texts;
    for (int i = 0; i < 6; ++i) {
        const std::string text = i < 5 ? provider.ConsumeRandomLengthString(300)
                                       : provider.ConsumeRemainingBytesAsString();
        texts.emplace_back(text.c_str(), text.c_str() + std::strlen(text.c_str()) + 1);
    }
    Revelado* revelado = revelado_newParametros(texts[0].data(), texts[1].data(), texts[2].data(),
                                                texts[3].data(), texts[4].data(), texts[5].data());
    require(revelado != nullptr);
    require(keeps(revelado->Fecha_Venta, texts[1].data()));
    require(keeps(revelado->Tipo_Foto, texts[2].data()));
    require(keeps(revelado->CUIT_Cliente, texts[5].data()));

    const int polaroid = revelados_filtraPolaroid(revelado);
    require(polaroid == 1 || polaroid == -1);
    require(revelados_polaroid(revelado) == (polaroid == 1 ? revelado->Cantidad : -1));
    require(revelados_totalesCount(revelado) == revelado->Cantidad);
    const int above150 = revelados_ventaMayor150(revelado);
    const int above300 = revelados_ventaMayor300(revelado);
    require(above150 == 1 || above150 == -1);
    require(above300 == 1 || above300 == -1);
    require(above300 == -1 || above150 == 1);
    const float whole = revelados_mayorPreciodeVenta(revelado);
    require(whole == std::trunc(whole));
    require(whole >= static_cast<float>(INT_MIN) && whole <= static_cast<float>(INT_MAX));

    char copy[REVELADOS_TEXT_SIZE];
    require(revelados_getTipo(revelado, copy) == 0 && std::strcmp(copy, revelado->Tipo_Foto) == 0);
    std::free(revelado);
    return 0;
}
