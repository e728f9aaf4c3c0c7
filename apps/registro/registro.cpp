// registro: the employee register at the console. A menu to add, change and remove employees and
// to see the reports, over one static table of EMPLOYEES slots. Every answer is read with the
// console input library; end of input at any question ends the program with status 0.
#include "informes.h"
#include "inq_gets.h"
#include "staffTable.h"

#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

constexpr int ATTEMPTS = 3;
constexpr int HIGHEST = std::numeric_limits<int>::max();
constexpr float HIGHEST_SALARY = std::numeric_limits<float>::max();

enum MenuOption { ALTA = 1, MODIFICAR, BAJA, INFORMAR, SALIR };
enum Field { FIELD_NAME = 1, FIELD_LAST_NAME, FIELD_SALARY, FIELD_SECTOR };

constexpr const char* MENU = "\nRegistro de empleados\n"
                             "1. Alta\n"
                             "2. Modificar\n"
                             "3. Baja\n"
                             "4. Informar\n"
                             "5. Salir\n"
                             "Elija una opción: ";

// What one question asks and says after a refused answer.
struct Question {
    const char* prompt;
    const char* error;
};

constexpr Question MENU_CHOICE = {MENU, "Opción no válida: elija un número del 1 al 5.\n"};
constexpr Question NAME = {"Nombre: ", "El nombre debe tener letras, y solo letras y espacios.\n"};
constexpr Question LAST_NAME = {"Apellido: ",
                                "El apellido debe tener letras, y solo letras y espacios.\n"};
constexpr Question SALARY = {
    "Salario: ", "El salario debe ser un número de 0 en adelante, con punto decimal.\n"};
constexpr Question SECTOR = {"Sector: ", "El sector debe ser un número entero de 1 en adelante.\n"};
constexpr Question ID = {"Id del empleado: ",
                         "El id debe ser un número entero de 1 en adelante.\n"};
constexpr Question FIELD = {"Campo a modificar (1 nombre, 2 apellido, 3 salario, 4 sector): ",
                            "Elija un campo del 1 al 4.\n"};

// The table and what the program keeps about it: the next id to give and how many are loaded.
struct Register {
    Employee table[EMPLOYEES];
    int nextId = 1;
    int loaded = 0;
};

// Ends the program when standard input is spent (or broken): nobody is left to answer. The line
// end leaves the terminal's next prompt at the start of a line.
void stopAtEndOfInput() {
    if (std::feof(stdin) || std::ferror(stdin)) {
        std::puts("");
        std::exit(EXIT_SUCCESS);
    }
}

// Up to attempts tries at a whole number within minimum..maximum. One attempt per call to the
// reader, so that end of input is noticed at once instead of after the remaining attempts.
bool askNumber(int* value, int minimum, int maximum, const Question& question, int attempts) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (inq_getNumber(value, maximum, minimum, 1, question.prompt, "") == CORRECTO) {
            return true;
        }
        stopAtEndOfInput();
        std::printf("%s", question.error);
    }
    return false;
}

// Up to ATTEMPTS tries at a salary of 0 or more.
bool askSalary(float* salary) {
    for (int attempt = 0; attempt < ATTEMPTS; ++attempt) {
        if (inq_getFloat(salary, HIGHEST_SALARY, 0.0f, 1, SALARY.prompt, "") == CORRECTO) {
            return true;
        }
        stopAtEndOfInput();
        std::printf("%s", SALARY.error);
    }
    return false;
}

// True when a text of letters and blanks holds a letter.
bool hasLetter(const char* text) {
    for (; *text != '\0'; ++text) {
        if (*text != ' ') {
            return true;
        }
    }
    return false;
}

// Up to ATTEMPTS tries at a name of letters and blanks with at least one letter, cut to
// NAME_LENGTH characters. text must hold INQ_LINE_SIZE bytes.
bool askName(char* text, const Question& question) {
    for (int attempt = 0; attempt < ATTEMPTS; ++attempt) {
        if (inq_getString(question.prompt, "", text) == CORRECTO) {
            text[NAME_LENGTH] = '\0'; // cut first: fifty blanks before a letter are no name
            if (hasLetter(text)) {
                return true;
            }
        }
        stopAtEndOfInput();
        std::printf("%s", question.error);
    }
    return false;
}

// Replaces a name field with the first NAME_LENGTH characters of text.
void setName(char (&field)[NAME_LENGTH + 1], const char* text) {
    std::snprintf(field, sizeof field, "%.*s", NAME_LENGTH, text);
}

void printSummary(const Employee& employee) {
    std::printf("Empleado %d: %s %s, salario %.2f, sector %d.\n", employee.id, employee.name,
                employee.lastName, static_cast<double>(employee.salary), employee.sector);
}

// Asks an id and shows its employee; null when the attempts are spent or no employee has it.
const Employee* askEmployee(Register& reg) {
    int id = 0;
    if (!askNumber(&id, 1, HIGHEST, ID, ATTEMPTS)) {
        return nullptr;
    }
    const int index = findEmployeeById(reg.table, EMPLOYEES, id);
    if (index < 0) {
        std::printf("No hay un empleado con el id %d.\n", id);
        return nullptr;
    }
    printSummary(reg.table[index]);
    return &reg.table[index];
}

void addNewEmployee(Register& reg) {
    int slot = 0;
    if (searchEmpty(reg.table, EMPLOYEES, &slot) != CORRECTO) {
        std::puts("La tabla está llena: no se pueden dar más altas.");
        return;
    }
    char name[INQ_LINE_SIZE];
    char lastName[INQ_LINE_SIZE];
    float salary = 0.0f;
    int sector = 0;
    if (!askName(name, NAME) || !askName(lastName, LAST_NAME) || !askSalary(&salary) ||
        !askNumber(&sector, 1, HIGHEST, SECTOR, ATTEMPTS)) {
        std::puts("Alta cancelada.");
        return;
    }
    if (addEmployee(reg.table, EMPLOYEES, reg.nextId, name, lastName, salary, sector) != CORRECTO) {
        return;
    }
    std::printf("Alta del empleado con id %d.\n", reg.nextId);
    reg.nextId++;
    reg.loaded++;
}

// Asks the new value of one field and stores it; false when the attempts are spent.
bool changeField(Employee& employee, int field) {
    char text[INQ_LINE_SIZE];
    switch (field) {
    case FIELD_NAME:
        if (!askName(text, NAME)) {
            return false;
        }
        setName(employee.name, text);
        return true;
    case FIELD_LAST_NAME:
        if (!askName(text, LAST_NAME)) {
            return false;
        }
        setName(employee.lastName, text);
        return true;
    case FIELD_SALARY:
        return askSalary(&employee.salary);
    default:
        return askNumber(&employee.sector, 1, HIGHEST, SECTOR, ATTEMPTS);
    }
}

// The table has no operation to change a record in place: the changed copy replaces the old
// record through removeEmployee and addEmployee, keeping its id.
void modifyEmployee(Register& reg) {
    const Employee* found = askEmployee(reg);
    if (found == nullptr) {
        return;
    }
    Employee changed = *found;
    int field = 0;
    if (!askNumber(&field, FIELD_NAME, FIELD_SECTOR, FIELD, ATTEMPTS) ||
        !changeField(changed, field)) {
        std::puts("Modificación cancelada.");
        return;
    }
    removeEmployee(reg.table, EMPLOYEES, changed.id);
    addEmployee(reg.table, EMPLOYEES, changed.id, changed.name, changed.lastName, changed.salary,
                changed.sector);
    std::puts("Empleado modificado.");
    printSummary(changed);
}

// A confirmation is 's' or 'S' alone on its line.
bool isYes(const char* answer) {
    return (answer[0] == 's' || answer[0] == 'S') && (answer[1] == '\n' || answer[1] == '\0');
}

void removeOneEmployee(Register& reg) {
    const Employee* employee = askEmployee(reg);
    if (employee == nullptr) {
        return;
    }
    const int id = employee->id;
    char answer[INQ_CHAR_SIZE] = "";
    if (inq_getChar("¿Confirma la baja? (s/n): ", "", answer) != CORRECTO) {
        stopAtEndOfInput();
    }
    if (!isYes(answer)) {
        std::puts("Baja cancelada.");
        return;
    }
    removeEmployee(reg.table, EMPLOYEES, id);
    reg.loaded--;
    std::printf("Baja del empleado con id %d.\n", id);
}

Register staff;

} // namespace

int main() {
    initEmployees(staff.table, EMPLOYEES);
    for (;;) {
        int option = 0;
        if (!askNumber(&option, ALTA, SALIR, MENU_CHOICE, 1)) {
            continue;
        }
        if (option == SALIR) {
            return EXIT_SUCCESS;
        }
        if (option != ALTA && staff.loaded == 0) {
            std::puts("No hay empleados cargados.");
            continue;
        }
        switch (option) {
        case ALTA:
            addNewEmployee(staff);
            break;
        case MODIFICAR:
            modifyEmployee(staff);
            break;
        case BAJA:
            removeOneEmployee(staff);
            break;
        default:
            menuOrderEmployees(staff.table, EMPLOYEES);
            stopAtEndOfInput();
            break;
        }
    }
}
