#include "recognizer/dialog/recognizer_app.h"

#include "common/protocol.h"
#include "engine/camera.h"
#include "recognizer/dialog/recognizer_dlg.h"
#include "recognizer/shell/recognizer_shell.h"

win::BOOL CRecognizerApp::InitInstance() {
    return StartRecognizerInstance(InstancePropertyNameFor(CameraNumber), CameraNumber, [this] {
        CRecognizerDlg dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
    });
}
