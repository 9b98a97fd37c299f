#include <cstdio>

#include "console.h"

// Converts a year of the Buddhist Era into the year of the Common Era, 543 years behind.
int main() {
    std::printf("Please input your name : >> ");
    char name[15] = "";  // asked for, never used
    console::read_word(stdin, name);

    std::printf("Please input your BE : >> ");
    int be = 0;
    console::read_whole(stdin, be);

    // In 64 bits the subtraction cannot overflow, even for the smallest int.
    const long long ce = static_cast<long long>(be) - 543;
    std::printf("Your CE is : >> %lld\n\n", ce);
    std::printf("Press any key to exit.");

    console::wait_key();
    return console::exit_status("erayear");
}
