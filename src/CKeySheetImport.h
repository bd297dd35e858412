#pragma once

#include "CImportCheckDialog.h"
#include "CImportProgressDialog.h"
#include "CKeySheetChecker.h"

#include <QObject>
#include <QPointer>
#include <QString>

class CIAboutDevice;
class CImportSession;

// One import of a key sheet from start to end: read and check the sheet,
// show what the check found, register the good rows through the workspace
// as scans are registered, follow the progress, write the report and show
// the summary. Nothing waits in a nested event loop; the import deletes
// itself when its last dialog closes.
class CKeySheetImport : public QObject
{
    Q_OBJECT

public:
    explicit CKeySheetImport(CIAboutDevice* workspace);

    void start(const QString& sheetPath);

    CImportCheckDialog* checkDialog() const { return m_checkDialog; }
    CImportProgressDialog* progressDialog() const { return m_progressDialog; }
    CImportSession* session() const { return m_session; }
    QString reportPath() const { return m_reportPath; }

signals:
    void finished();   // the summary is shown and the report written (or not)

private:
    void send();
    void onSessionFinished();

    CIAboutDevice* m_workspace;
    QString m_sheetPath;
    SheetCheck m_check;
    QPointer<CImportCheckDialog> m_checkDialog;
    QPointer<CImportProgressDialog> m_progressDialog;
    CImportSession* m_session = nullptr;
    QString m_reportPath;
};
