#include <cstdio>

#include "console.h"

namespace {

// The bands from the top down; a temperature belongs to the first whose bound it exceeds.
struct Band {
    int above;
    const char* message;
};

constexpr Band bands[] = {
    {34, "Now Temperature is Hot!!\n\n"},
    {24, "Now Temperature is Normal!!\n\n"},
    {14, "Now Temperature is Cool!!\n\n"},
};

const char* band_message(int temper) {
    for (const Band& band : bands) {
        if (temper > band.above)
            return band.message;
    }
    return "Unknow Temperature!!\n\n";
}

}  // namespace

// Says whether a whole-number temperature is hot, normal or cool.
int main() {
    std::printf("Enter your Temperature : ");
    int temper = 0;
    console::read_whole(stdin, temper);

    std::printf("%s", band_message(temper));
    std::printf("Press any key to exit.");

    console::wait_key();
    return console::exit_status("heatband");
}
