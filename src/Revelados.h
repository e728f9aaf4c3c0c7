#ifndef REVELADOS_H_
#define REVELADOS_H_

#include <cstddef>

// One sale of the photo-development counter, and the per-element callbacks a sales program hands
// to a linked list of such sales. Records live on the heap: the constructors allocate them with
// malloc and whoever holds one releases it with free. No field is validated; nothing is printed.

// Size of each text field; a text keeps at most REVELADOS_TEXT_SIZE - 1 characters.
constexpr int REVELADOS_TEXT_SIZE = 128;

typedef struct S_Revelado {
    int ID_Venta;
    char Fecha_Venta[REVELADOS_TEXT_SIZE];
    char Tipo_Foto[REVELADOS_TEXT_SIZE];
    int Cantidad;
    float Precio_Unitario;
    char CUIT_Cliente[REVELADOS_TEXT_SIZE];
} Revelado;

// Programs written in C read the same record field for field.
static_assert(offsetof(Revelado, ID_Venta) == 0);
static_assert(offsetof(Revelado, Fecha_Venta) == 4);
static_assert(offsetof(Revelado, Tipo_Foto) == 132);
static_assert(offsetof(Revelado, Cantidad) == 260);
static_assert(offsetof(Revelado, Precio_Unitario) == 264);
static_assert(offsetof(Revelado, CUIT_Cliente) == 268);
static_assert(sizeof(Revelado) == 396);

// A record with zero numbers and empty texts; NULL when memory runs out.
Revelado* revelado_new(void);

// A record from six texts in field order, as read from a file. The numbers are converted as atoi
// and atof do (leading blanks, sign, longest numeric prefix, 0 without one); an integer beyond the
// 32-bit range is clamped to it. Texts longer than 127 characters are cut. NULL when memory runs
// out or any argument is NULL.
Revelado* revelado_newParametros(char* ID_Venta, char* Fecha_Venta, char* Tipo_Foto, char* Cantidad,
                                 char* Precio_Unitario, char* CUIT_Cliente);

// Setters: 0, or -1 with nothing changed for a NULL record (or a NULL text). Texts longer than
// 127 characters are cut; a shorter text replaces the old one whole.
int revelados_setId(Revelado* this_, int id);
int revelados_setFecha(Revelado* this_, char* fecha);
int revelados_setTipo(Revelado* this_, char* tipo);
int revelados_setCantidad(Revelado* this_, int cantidad);
int revelados_setPrecio(Revelado* this_, float precio);
int revelados_setCUIT(Revelado* this_, char* cuit);

// Getters: 0, or -1 with the out-argument untouched for a NULL record or out-argument. A text
// getter writes up to REVELADOS_TEXT_SIZE bytes, its terminating NUL included.
int revelados_getId(Revelado* this_, int* id);
int revelados_getFecha(Revelado* this_, char* fecha);
int revelados_getTipo(Revelado* this_, char* tipo);
int revelados_getCantidad(Revelado* this_, int* cantidad);
int revelados_getPrecio(Revelado* this_, float* precio);
int revelados_getCUIT(Revelado* this_, char* cuit);

// Callbacks over one list element, a Revelado*. The sale amount is Cantidad times
// Precio_Unitario in single precision. None reads through a NULL element.

// The element's Cantidad; 0 for NULL.
int revelados_totalesCount(void* elemento);

// 1 if the sale amount is greater than 150.0, else -1 (also for NULL or an amount not a number).
int revelados_ventaMayor150(void* elemento);

// 1 if the sale amount is greater than 300.0, else -1 (also for NULL or an amount not a number).
int revelados_ventaMayor300(void* elemento);

// The sale amount truncated toward zero to a 32-bit integer, as a float; beyond that range the
// amount is clamped to it; 0 for NULL or an amount not a number.
float revelados_mayorPreciodeVenta(void* elemento);

// The element's Cantidad if its Tipo_Foto is exactly "POLAROID_11x9" or "POLAROID_10x10", else -1
// (also for NULL).
int revelados_polaroid(void* elemento);

// 1 if Tipo_Foto is exactly "POLAROID_11x9" or "POLAROID_10x10", else -1 (also for NULL).
int revelados_filtraPolaroid(void* elemento);

#endif
