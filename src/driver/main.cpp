// Entry point of the dravent command.
#include "driver/run.hpp"

#include <iostream>

int main(int argc, char* argv[])
{
    return dravent::run(argc, argv, std::cout, std::cerr);
}
