#include "platform/dialog.h"
#include "recognizer/dialog/recognizer_app.h"

namespace {

CRecognizerApp theApp;

}  // namespace

int main(int argc, char** argv) { return win::AfxWinMain(argc, argv); }
