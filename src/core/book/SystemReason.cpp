#include "core/book/SystemReason.h"

#include <cerrno>
#include <cstring>

QString systemReason(int error)
{
    switch (error) {
    case EROFS:
        return QStringLiteral("el disco es de solo lectura");
    case EACCES:
    case EPERM:
        return QStringLiteral("no tengo permiso");
    case ENOSPC:
        return QStringLiteral("no queda sitio en el disco");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("se ha llenado el espacio de este usuario");
#endif
    case ENOENT:
        return QStringLiteral("no existe");
    case EIO:
        return QStringLiteral("error del disco al leer o escribir");
    case EBUSY:
        return QStringLiteral("otro programa lo está usando");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}
