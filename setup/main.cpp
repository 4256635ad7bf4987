#include "setup/CRavelinApp.h"

int main(int argc, char* argv[]) {
    setup::CRavelinApp app(argc, argv);
    return app.Run();
}
