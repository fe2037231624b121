#include "app/application.h"

int main(int argc, char** argv) { return velquist::RunApplication(argc, argv); }
