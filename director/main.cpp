#include "director/director_app.h"

namespace {

CDirectorApp theApp;

}  // namespace

int main(int argc, char** argv) { return win::AfxWinMain(argc, argv); }
