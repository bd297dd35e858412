#include "CIAboutDevice.h"

// Placeholder bodies: the workspace is being filled in.
CIAboutDevice::CIAboutDevice(QWidget* parent) : QWidget(parent) {}
void CIAboutDevice::scanDeviceInfo(CLoraDeviceInfo info) { m_deviceInfo = info; }
void CIAboutDevice::sendInfoToTheNextStage() {}
void CIAboutDevice::statusCon(CloraAuthResp) {}
void CIAboutDevice::changePossibleStates(QString) {}
void CIAboutDevice::changeDevInfo(CLoraDeviceInfo) {}
void CIAboutDevice::clearDevInfoFromServer() {}
void CIAboutDevice::defaulSettingsWDs() {}
void CIAboutDevice::prepareToFillTable(CloraInfoResp) {}
void CIAboutDevice::fillDeviceTable(QJsonDocument) {}
void CIAboutDevice::deleteDevice(int) {}
void CIAboutDevice::iniPresets(QString) {}
void CIAboutDevice::findPreset(QString) {}
void CIAboutDevice::changePresets() {}
void CIAboutDevice::createPreset() {}
QJsonObject CIAboutDevice::prepareJsonObjPreset() { return {}; }
void CIAboutDevice::onPresetTextChanged(const QString&) {}
void CIAboutDevice::onExpertEdited() {}
void CIAboutDevice::onOptionalEdited() {}
void CIAboutDevice::onTabChanged(int) {}
void CIAboutDevice::onDeviceRemoved(const QString&) {}
void CIAboutDevice::onAutoModeToggled(bool) {}
void CIAboutDevice::confirmDeleteDevice(int) {}
