#include "config/ProfileWriteResult.h"

#include <cerrno>

#include "base/SafeFile.h"
#include "base/Translation.h"

namespace tollix {

std::string WriteFailureReason(int errorNumber)
{
    switch (errorNumber) {
    case EROFS:
        return Tr("文件夹只读");
    case EACCES:
    case EPERM:
        return Tr("没有写入权限");
    case ENOSPC:
    case EDQUOT:
        return Tr("磁盘已满");
    default:
        return SystemErrorText(errorNumber);
    }
}

}  // namespace tollix
