#include "Revelados.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string_view>

namespace {

constexpr float UMBRAL150 = 150.0f;
constexpr float UMBRAL300 = 300.0f;
constexpr std::string_view POLAROID11X9 = "POLAROID_11x9";
constexpr std::string_view POLAROID10X10 = "POLAROID_10x10";

// Copies at most REVELADOS_TEXT_SIZE - 1 characters of text into field and terminates it. The
// source may be the field itself or any text, however long.
void copyText(char* field, const char* text) {
    const std::size_t length = strnlen(text, REVELADOS_TEXT_SIZE - 1);
    std::memmove(field, text, length);
    field[length] = '\0';
}

// The text's integer as atoi reads it, clamped to the int range instead of left undefined.
int toInt(const char* text) {
    const long value = std::strtol(text, nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

// The double rounded to the nearest float, infinity beyond the float range, as IEEE arithmetic
// does; the plain conversion of an out-of-range double is undefined in C++.
float toNearestFloat(double value) {
    // Halfway between the largest float and the next power of two: from here on, ties to even
    // round away to infinity.
    constexpr double OVERFLOW = 0x1.ffffffp127;
    if (value >= OVERFLOW) {
        return std::numeric_limits<float>::infinity();
    }
    if (value <= -OVERFLOW) {
        return -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}

// The list element as the sale record it points to.
const Revelado* asRevelado(const void* elemento) {
    return static_cast<const Revelado*>(elemento);
}

// Cantidad times Precio_Unitario, in single precision.
float saleAmount(const Revelado& revelado) {
    return static_cast<float>(revelado.Cantidad) * revelado.Precio_Unitario;
}

// The amount truncated toward zero, clamped to the floats an int can hold; 0 for NaN.
float wholeAmount(float amount) {
    // -2^31 is exact in float, but float(INT_MAX) rounds up to 2^31, one past the int range:
    // the largest float below it is 2^31 - 128.
    constexpr float INT_LOWEST = -2147483648.0f;
    constexpr float INT_HIGHEST = 2147483520.0f;
    if (std::isnan(amount)) {
        return 0.0f;
    }
    // An int's value is never -0: adding +0 turns the -0 trunc gives (-0.5, -0) into 0.
    return std::trunc(std::clamp(amount, INT_LOWEST, INT_HIGHEST)) + 0.0f;
}

// 1 if the element's sale amount is greater than threshold, else -1; NaN never is.
int amountAbove(const void* elemento, float threshold) {
    if (elemento == nullptr) {
        return -1;
    }
    return saleAmount(*asRevelado(elemento)) > threshold ? 1 : -1;
}

// True when Tipo_Foto is one of the two Polaroid types, byte for byte and whole.
bool isPolaroid(const Revelado& revelado) {
    const std::string_view tipo(revelado.Tipo_Foto,
                                strnlen(revelado.Tipo_Foto, sizeof revelado.Tipo_Foto));
    return tipo == POLAROID11X9 || tipo == POLAROID10X10;
}

} // namespace

Revelado* revelado_new(void) {
    auto* revelado = static_cast<Revelado*>(std::malloc(sizeof(Revelado)));
    if (revelado == nullptr) {
        return nullptr;
    }
    revelado->ID_Venta = 0;
    revelado->Fecha_Venta[0] = '\0';
    revelado->Tipo_Foto[0] = '\0';
    revelado->Cantidad = 0;
    revelado->Precio_Unitario = 0.0f;
    revelado->CUIT_Cliente[0] = '\0';
    return revelado;
}

Revelado* revelado_newParametros(char* ID_Venta, char* Fecha_Venta, char* Tipo_Foto, char* Cantidad,
                                 char* Precio_Unitario, char* CUIT_Cliente) {
    if (ID_Venta == nullptr || Fecha_Venta == nullptr || Tipo_Foto == nullptr ||
        Cantidad == nullptr || Precio_Unitario == nullptr || CUIT_Cliente == nullptr) {
        return nullptr;
    }
    Revelado* revelado = revelado_new();
    if (revelado == nullptr) {
        return nullptr;
    }
    revelados_setId(revelado, toInt(ID_Venta));
    revelados_setFecha(revelado, Fecha_Venta);
    revelados_setTipo(revelado, Tipo_Foto);
    revelados_setCantidad(revelado, toInt(Cantidad));
    revelados_setPrecio(revelado, toNearestFloat(std::strtod(Precio_Unitario, nullptr)));
    revelados_setCUIT(revelado, CUIT_Cliente);
    return revelado;
}

int revelados_setId(Revelado* this_, int id) {
    if (this_ == nullptr) {
        return -1;
    }
    this_->ID_Venta = id;
    return 0;
}

int revelados_getId(Revelado* this_, int* id) {
    if (this_ == nullptr || id == nullptr) {
        return -1;
    }
    *id = this_->ID_Venta;
    return 0;
}

int revelados_setFecha(Revelado* this_, char* fecha) {
    if (this_ == nullptr || fecha == nullptr) {
        return -1;
    }
    copyText(this_->Fecha_Venta, fecha);
    return 0;
}

int revelados_getFecha(Revelado* this_, char* fecha) {
    if (this_ == nullptr || fecha == nullptr) {
        return -1;
    }
    copyText(fecha, this_->Fecha_Venta);
    return 0;
}

int revelados_setTipo(Revelado* this_, char* tipo) {
    if (this_ == nullptr || tipo == nullptr) {
        return -1;
    }
    copyText(this_->Tipo_Foto, tipo);
    return 0;
}

int revelados_getTipo(Revelado* this_, char* tipo) {
    if (this_ == nullptr || tipo == nullptr) {
        return -1;
    }
    copyText(tipo, this_->Tipo_Foto);
    return 0;
}

int revelados_setCantidad(Revelado* this_, int cantidad) {
    if (this_ == nullptr) {
        return -1;
    }
    this_->Cantidad = cantidad;
    return 0;
}

int revelados_getCantidad(Revelado* this_, int* cantidad) {
    if (this_ == nullptr || cantidad == nullptr) {
        return -1;
    }
    *cantidad = this_->Cantidad;
    return 0;
}

int revelados_setPrecio(Revelado* this_, float precio) {
    if (this_ == nullptr) {
        return -1;
    }
    this_->Precio_Unitario = precio;
    return 0;
}

int revelados_getPrecio(Revelado* this_, float* precio) {
    if (this_ == nullptr || precio == nullptr) {
        return -1;
    }
    *precio = this_->Precio_Unitario;
    return 0;
}

int revelados_setCUIT(Revelado* this_, char* cuit) {
    if (this_ == nullptr || cuit == nullptr) {
        return -1;
    }
    copyText(this_->CUIT_Cliente, cuit);
    return 0;
}

int revelados_getCUIT(Revelado* this_, char* cuit) {
    if (this_ == nullptr || cuit == nullptr) {
        return -1;
    }
    copyText(cuit, this_->CUIT_Cliente);
    return 0;
}

int revelados_totalesCount(void* elemento) {
    if (elemento == nullptr) {
        return 0;
    }
    return asRevelado(elemento)->Cantidad;
}

int revelados_ventaMayor150(void* elemento) {
    return amountAbove(elemento, UMBRAL150);
}

int revelados_ventaMayor300(void* elemento) {
    return amountAbove(elemento, UMBRAL300);
}

float revelados_mayorPreciodeVenta(void* elemento) {
    if (elemento == nullptr) {
        return 0.0f;
    }
    return wholeAmount(saleAmount(*asRevelado(elemento)));
}

int revelados_polaroid(void* elemento) {
    if (elemento == nullptr || !isPolaroid(*asRevelado(elemento))) {
        return -1;
    }
    return asRevelado(elemento)->Cantidad;
}

int revelados_filtraPolaroid(void* elemento) {
    if (elemento == nullptr) {
        return -1;
    }
    return isPolaroid(*asRevelado(elemento)) ? 1 : -1;
}
