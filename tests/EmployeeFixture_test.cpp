#include "Employee.h"

#include "cText.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

TEST(NewEmployee, FillsAnOccupiedRecordThatIsNewOnEveryCall) {
    char shared[] = "Xd";
    Employee* first = newEmployee(3, shared, shared, 2000.0f, 2);
    Employee* second = newEmployee(3, shared, shared, 2000.0f, 2);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->id, 3);
    EXPECT_STREQ(first->name, "Xd");
    EXPECT_STREQ(first->lastName, "Xd");
    EXPECT_NE(static_cast<void*>(first->name), static_cast<void*>(shared));
    EXPECT_EQ(first->salary, 2000.0f);
    EXPECT_EQ(first->sector, 2);
    EXPECT_EQ(first->isEmpty, 1);
    std::free(first);
    std::free(second);
}

TEST(NewEmployee, CutsLongNamesToTheFieldAndTakesAMissingNameAsEmpty) {
    std::string longName(80, 'n');
    Employee* employee = newEmployee(1, longName.data(), nullptr, 1.0f, 1);
    ASSERT_NE(employee, nullptr);
    EXPECT_EQ(std::string(employee->name), std::string(NAME_LENGTH, 'n'));
    EXPECT_STREQ(employee->lastName, "");
    std::free(employee);
    employee = newEmployee(1, nullptr, text("Paz"), 1.0f, 1);
    EXPECT_STREQ(employee->name, "");
    EXPECT_STREQ(employee->lastName, "Paz");
    std::free(employee);
}

} // namespace
