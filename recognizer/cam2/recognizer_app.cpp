#include "recognizer/cam2/recognizer_app.h"

#include "common/protocol.h"
#include "engine/camera.h"
#include "recognizer/cam2/recognizer_dlg.h"
#include "recognizer/shell/recognizer_shell.h"

win::BOOL CRecognizerApp::InitInstance() {
    return StartRecognizerInstance(InstancePropertyNameFor(CameraNumber), CameraNumber, [this] {
        CRecognizerDlg dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
    });
}
