#include <exception>
#include <iostream>

#include "demo/demo_workspace.h"

// Makes the demo workspace that `make run` starts the program in, unless it is there already.
int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "Usage: vistello_demo TEMPLATE_FOLDER DEMO_FOLDER\n";
        return 2;
    }
    try {
        if (vistello::demo::MakeDemoWorkspace(argv[1], argv[2]) ==
            vistello::demo::DemoResult::Made) {
            std::cout << "Made a demo workspace in " << argv[2]
                      << ": press Generate, then Yes to see the show.\n";
        }
    } catch (const std::exception& error) {
        std::cerr << "vistello_demo: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
