#pragma once

#include "LoraRecords.h"

#include <QString>

struct ExpertSettings;
struct OptionalSettings;

// A scanned or imported device made ready for registration from the
// settings form: the name templates expanded, the class, channels and
// frequencies set, and the expert values, each "not given" (-1) where its
// group is collapsed.
namespace DeviceCompletion {

// `shownDevEui` replaces "%deveui" in the name template.
CLoraDeviceInfo completed(CLoraDeviceInfo device, const QString& shownDevEui, const OptionalSettings& optional,
                          const ExpertSettings& expert);

} // namespace DeviceCompletion
