#include "director/director_app.h"

#include "director/director_dlg.h"
#include "platform/windows.h"

// Without the bus the recognizers could neither be reached nor answer, so the program says so
// and ends.
win::BOOL CDirectorApp::InitInstance() {
    if (!win::AfxSocketInit()) win::EndWithoutBus(BusStartFailedText, DirectorMessageCaption);
    CDirectorDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return win::FALSE;
}
