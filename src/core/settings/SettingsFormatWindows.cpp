#include "core/settings/SettingsFormat.h"

QSettings::Format SettingsFormat::format()
{
    return QSettings::IniFormat;
}
