// The weather painter's entry: hands the start-up values to the loop.
#include <string>

#include "painter/weather.h"

int main(int argc, char **argv) {
    // The command line is the arguments after the program's name, joined
    // by spaces; empty when there are none.
    std::string command_line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) command_line += ' ';
        command_line += argv[i];
    }
    return painter::weather_main(nullptr, nullptr, command_line.c_str(), 1);
}
