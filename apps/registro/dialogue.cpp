#include "dialogue.h"

#include "answers.h"
#include "employeeFields.h"
#include "informes.h"
#include "lookup.h"
#include "status.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr int ATTEMPTS = 3;

enum MenuOption { ALTA = 1, MODIFICAR, BAJA, INFORMAR, SALIR };
enum Field { FIELD_NAME = 1, FIELD_LAST_NAME, FIELD_SALARY, FIELD_SECTOR };

constexpr const char* MENU_OPTIONS = "1. Alta\n"
                                     "2. Modificar\n"
                                     "3. Baja\n"
                                     "4. Informar\n"
                                     "5. Salir\n"
                                     "Un \".\" como respuesta cancela el alta, la modificación o "
                                     "la baja en curso.\n"
                                     "Elija una opción: ";
constexpr const char* BAD_OPTION = "Opción no válida: elija un número del 1 al 5.\n";

// What one question asks, and what is said after a refused answer: subject, verb and rule.
struct Question {
    const char* prompt;
    const char* subject;
    const char* verb;
    const char* rule;
};

constexpr Question NAME = {"Nombre: ", "El nombre", "debe tener", NAME_RULE};
constexpr Question LAST_NAME = {"Apellido: ", "El apellido", "debe tener", NAME_RULE};
constexpr Question SALARY = {"Salario: ", "El salario", "debe ser", SALARY_RULE};
constexpr Question SECTOR = {"Sector: ", "El sector", "debe ser", WHOLE_NUMBER_RULE};
constexpr Question ID = {"Id del empleado (? lista, ?texto busca por apellido): ", "El id",
                         "debe ser", WHOLE_NUMBER_RULE};
constexpr Question FIELD = {"Campo a modificar (1 nombre, 2 apellido, 3 salario, 4 sector): ",
                            "El campo", "debe ser", "un número del 1 al 4"};

// Thrown when standard input ends: nobody is left to answer, and the session ends.
struct InputEnded {};

// The answer that gives up the action under way at any of its questions, and what is thrown then:
// nothing of the action is kept. No value of any question reads so.
constexpr std::string_view CANCEL = ".";
struct Cancelled {};

// At the id question, "?" lists the employees and "?texto" those whose last name holds texto.
constexpr char LOOKUP = '?';

// Reads the answer to prompt into text; false, ask() having said so, for a line too long to take.
bool answer(const char* prompt, std::string& text) {
    switch (ask(prompt, text)) {
    case Answer::given:
        return true;
    case Answer::tooLong:
        return false;
    default:
        throw InputEnded{};
    }
}

// The answer to a question of an action; throws Cancelled for CANCEL.
bool actionAnswer(const char* prompt, std::string& text) {
    const bool given = answer(prompt, text);
    if (given && text == CANCEL) {
        throw Cancelled{};
    }
    return given;
}

bool nothingAside(std::string_view /*text*/) {
    return false;
}

// Up to ATTEMPTS answers to question, until take accepts one; false when they are spent. An
// answer that aside takes care of (a lookup) is no attempt.
template <typename Take, typename Aside = bool (*)(std::string_view)>
bool askUntilTaken(const Question& question, Take take, Aside aside = nothingAside) {
    std::string text;
    for (int attempt = 0; attempt < ATTEMPTS;) {
        if (!actionAnswer(question.prompt, text)) {
            ++attempt;
            continue;
        }
        if (aside(std::string_view(text))) {
            continue;
        }
        if (take(std::string_view(text))) {
            return true;
        }
        std::printf("%s %s %s.\n", question.subject, question.verb, question.rule);
        ++attempt;
    }
    return false;
}

// A whole number from 1 to highest; aside as askUntilTaken takes it.
template <typename Aside = bool (*)(std::string_view)>
bool askNumber(const Question& question, int& value, int highest = INT_MAX,
               Aside aside = nothingAside) {
    return askUntilTaken(
        question,
        [&](std::string_view text) {
            int number = 0;
            if (!readWholeNumber(text, number) || number > highest) {
                return false;
            }
            value = number;
            return true;
        },
        aside);
}

bool askSalary(float& salary) {
    return askUntilTaken(SALARY, [&](std::string_view text) { return readSalary(text, salary); });
}

// A name into field; says so when it had to be cut.
bool askName(const Question& question, char (&field)[NAME_LENGTH + 1]) {
    return askUntilTaken(question, [&](std::string_view text) {
        const NameCheck check = readName(text, field);
        if (check == NameCheck::cut) {
            std::printf("%s se acortó a %d bytes: %s\n", question.subject, NAME_LENGTH, field);
        }
        return check != NameCheck::notAName;
    });
}

// Saves the change just made to the table, then prints confirmation. A failed save says so in
// one more line: the change stays in the table, and the next save takes it along.
void keepChange(Register& reg, const std::string& confirmation) {
    reg.unsaved = !saveRegister(reg);
    const int failure = errno;
    std::puts(confirmation.c_str());
    if (reg.unsaved) {
        std::printf("No se pudo guardar %s (%s): el cambio queda en memoria y se guardará con el "
                    "próximo cambio.\n",
                    reg.path, std::strerror(failure));
    }
}

// Asks an id and shows its employee; null when the attempts are spent or no employee has it. The
// employees can be looked up at the question.
Employee* askEmployee(Register& reg) {
    int id = 0;
    const auto lookUp = [&reg](std::string_view text) {
        if (!text.starts_with(LOOKUP)) {
            return false;
        }
        showEmployees(reg, text.substr(1));
        return true;
    };
    if (!askNumber(ID, id, INT_MAX, lookUp)) {
        return nullptr;
    }
    const int index = findEmployeeById(reg.table, EMPLOYEES, id);
    if (index < 0) {
        std::printf("No hay un empleado con el id %d.\n", id);
        return nullptr;
    }
    std::puts(summary(reg.table[index]).c_str());
    return &reg.table[index];
}

void addNewEmployee(Register& reg) {
    int slot = 0;
    if (searchEmpty(reg.table, EMPLOYEES, &slot) != CORRECTO) {
        std::puts("La tabla está llena: no se pueden dar más altas.");
        return;
    }
    if (reg.highestId == INT_MAX) {
        std::printf("No quedan ids para más altas: el id %d es el último.\n", INT_MAX);
        return;
    }
    Employee employee{};
    if (!askName(NAME, employee.name) || !askName(LAST_NAME, employee.lastName) ||
        !askSalary(employee.salary) || !askNumber(SECTOR, employee.sector)) {
        throw Cancelled{};
    }
    employee.id = ++reg.highestId;
    addEmployee(reg.table, EMPLOYEES, employee.id, employee.name, employee.lastName,
                employee.salary, employee.sector);
    reg.occupied++;
    keepChange(reg, "Alta del empleado con id " + std::to_string(employee.id) + ".");
}

// Asks the new value of one field of employee; false when the attempts are spent.
bool changeField(Employee& employee, int field) {
    switch (field) {
    case FIELD_NAME:
        return askName(NAME, employee.name);
    case FIELD_LAST_NAME:
        return askName(LAST_NAME, employee.lastName);
    case FIELD_SALARY:
        return askSalary(employee.salary);
    default:
        return askNumber(SECTOR, employee.sector);
    }
}

// The answers go to a copy, which takes the employee's slot only once every answer is given: a
// change given up leaves the record as it was. Written over its own slot, the employee keeps its
// place in the table, and so its line in the file; the table's operations would only add it
// again in the first free slot.
void modifyEmployee(Register& reg) {
    Employee* found = askEmployee(reg);
    if (found == nullptr) {
        return;
    }
    Employee changed = *found;
    int field = 0;
    if (!askNumber(FIELD, field, FIELD_SECTOR) || !changeField(changed, field)) {
        throw Cancelled{};
    }
    *found = changed;
    keepChange(reg, "Empleado modificado.\n" + summary(changed));
}

// A baja is confirmed by a line that is "s" or "S" and nothing else.
void removeOneEmployee(Register& reg) {
    const Employee* employee = askEmployee(reg);
    if (employee == nullptr) {
        return;
    }
    const int id = employee->id;
    std::string reply;
    if (!actionAnswer("¿Confirma la baja? (s/n): ", reply) || (reply != "s" && reply != "S")) {
        throw Cancelled{};
    }
    removeEmployee(reg.table, EMPLOYEES, id);
    reg.occupied--;
    keepChange(reg, "Baja del empleado con id " + std::to_string(id) + ".");
}

// Runs action on reg; when it is given up, says so in cancelled. An action given up has changed
// nothing: it changes the table only after its last question.
void act(void (*action)(Register&), Register& reg, const char* cancelled) {
    try {
        action(reg);
    } catch (const Cancelled&) {
        std::puts(cancelled);
    }
}

// Shows the menu, with the file and how many employees it holds, and reads one choice; false,
// having said why, for anything but a number from 1 to 5.
bool askMenu(const Register& reg, int& option) {
    const std::string prompt =
        std::string("\nRegistro de empleados: ") + reg.path + ", " + std::to_string(reg.occupied) +
        (reg.occupied == 1 ? " empleado" : " empleados") +
        (reg.unsaved ? " (hay cambios sin guardar)" : "") + "\n" + MENU_OPTIONS;
    std::string text;
    if (!answer(prompt.c_str(), text)) {
        return false;
    }
    if (!readWholeNumber(text, option) || option > SALIR) {
        std::fputs(BAD_OPTION, stdout);
        return false;
    }
    return true;
}

// Runs the menu until Salir; throws InputEnded when standard input ends.
void runMenu(Register& reg) {
    for (;;) {
        int option = 0;
        if (!askMenu(reg, option)) {
            continue;
        }
        if (option == SALIR) {
            return;
        }
        if (option != ALTA && reg.occupied == 0) {
            std::puts("No hay empleados cargados.");
            continue;
        }
        switch (option) {
        case ALTA:
            act(addNewEmployee, reg, "Alta cancelada.");
            break;
        case MODIFICAR:
            act(modifyEmployee, reg, "Modificación cancelada.");
            break;
        case BAJA:
            act(removeOneEmployee, reg, "Baja cancelada.");
            break;
        default:
            withOneAnswerPerRead([&reg] { menuOrderEmployees(reg.table, EMPLOYEES); });
            if (answersEnded()) {
                throw InputEnded{};
            }
            break;
        }
    }
}

} // namespace

int runDialogue(Register& reg) {
    try {
        runMenu(reg);
    } catch (const InputEnded&) {
        std::puts(""); // the shell's prompt then starts on a line of its own
    }
    int status = EXIT_OK;
    if (reg.unsaved) {
        if (saveRegister(reg)) {
            std::printf("Los cambios sin guardar se guardaron en %s.\n", reg.path);
        } else {
            std::printf("No se pudo guardar %s (%s): se pierden los cambios sin guardar.\n",
                        reg.path, std::strerror(errno));
            status = EXIT_FAILED;
        }
    }
    return flushOutput() ? status : EXIT_FAILED;
}
