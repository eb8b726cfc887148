#include "config/ProfileWriteResult.h"

#include <cerrno>

#include "base/SafeFile.h"

namespace tollix {

std::string WriteFailureReason(int errorNumber)
{
    switch (errorNumber) {
    case EROFS:
        return "文件夹只读";
    case EACCES:
    case EPERM:
        return "没有写入权限";
    case ENOSPC:
    case EDQUOT:
        return "磁盘已满";
    default:
        return SystemErrorText(errorNumber);
    }
}

}  // namespace tollix
