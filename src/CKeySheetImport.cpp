#include "CKeySheetImport.h"

#include "CIAboutDevice.h"
#include "CImportCheckDialog.h"
#include "CImportProgressDialog.h"
#include "CImportReport.h"
#include "CImportSession.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "Diagnostics.h"

CKeySheetImport::CKeySheetImport(CIAboutDevice* workspace)
    : QObject(workspace)
    , m_workspace(workspace)
{
}

void CKeySheetImport::start(const QString& sheetPath)
{
    m_sheetPath = sheetPath;
    const KeySheet sheet = CKeySheetReader::readFile(sheetPath);
    if (sheet.error.isEmpty())
        m_check = CKeySheetChecker::check(sheet);
    DIAG() << "key sheet" << sheetPath << "good" << m_check.good.size() << "rejected" << m_check.rejected.size()
           << sheet.error;

    m_checkDialog = new CImportCheckDialog(sheetPath, sheet, m_check, CServerClient::instance()->isReady(),
                                           m_workspace);
    m_checkDialog->setAttribute(Qt::WA_DeleteOnClose);
    // Queued: sending may open a box about the devices file, and its event
    // loop must not run while the dialog is still inside its own closing.
    connect(m_checkDialog, &QDialog::accepted, this, &CKeySheetImport::send, Qt::QueuedConnection);
    connect(m_checkDialog, &QDialog::rejected, this, &QObject::deleteLater);
    m_checkDialog->open();
}

void CKeySheetImport::send()
{
    QVector<CLoraDeviceInfo> rows;
    rows.reserve(m_check.good.size());
    for (const KeySheetRow& row : m_check.good)
        rows.append(CKeySheetChecker::deviceOf(row));

    // The form as the operator confirmed it completes every row.
    const auto complete = m_workspace->importCompleter();
    CIAboutDevice* workspace = m_workspace;
    m_session = new CImportSession(rows, [workspace, complete](const CLoraDeviceInfo& row) {
        return workspace->registerDevice(complete(row));
    }, this);

    m_progressDialog = new CImportProgressDialog(m_session, m_check.rejected.size(), m_workspace);
    m_progressDialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_progressDialog, &QDialog::finished, this, &QObject::deleteLater);
    connect(m_session, &CImportSession::finished, this, &CKeySheetImport::onSessionFinished);
    m_progressDialog->open();
    m_session->start();
}

void CKeySheetImport::onSessionFinished()
{
    m_reportPath = CImportReport::pathFor(m_sheetPath, currentDevicesFileName);
    QString error;
    CImportReport::write(m_reportPath, CImportReport::rows(m_check, *m_session), &error);
    if (!error.isEmpty())
        DIAG() << "report not written:" << m_reportPath << error;
    if (m_progressDialog)
        m_progressDialog->showSummary(m_reportPath, error);
    emit finished();
}
