// SPDX-License-Identifier: GPL-3.0-or-later
// The file errors the game can meet, with their Linux numbers.
#include "replay/error_numbers.h"

#include <cerrno>

namespace replay {

namespace {

struct Pair {
    int64_t onLinux;
    int local;
};

constexpr Pair kErrors[] = {
    {1, EPERM},      {2, ENOENT},   {4, EINTR},      {5, EIO},         {6, ENXIO},    {7, E2BIG},         {9, EBADF},
    {11, EAGAIN},    {12, ENOMEM},  {13, EACCES},    {14, EFAULT},     {16, EBUSY},   {17, EEXIST},       {18, EXDEV},
    {19, ENODEV},    {20, ENOTDIR}, {21, EISDIR},    {22, EINVAL},     {23, ENFILE},  {24, EMFILE},       {26, ETXTBSY},
    {27, EFBIG},     {28, ENOSPC},  {29, ESPIPE},    {30, EROFS},      {31, EMLINK},  {36, ENAMETOOLONG}, {38, ENOSYS},
    {39, ENOTEMPTY}, {40, ELOOP},   {75, EOVERFLOW}, {95, EOPNOTSUPP}, {122, EDQUOT},
};

}  // namespace

// An error outside the table keeps its number: it is as portable as it can be made.
int64_t PortableErrorNumber(int local) {
    for (const Pair& p : kErrors)
        if (p.local == local) return p.onLinux;
    return local;
}

int LocalErrorNumber(int64_t portable) {
    for (const Pair& p : kErrors)
        if (p.onLinux == portable) return p.local;
    return static_cast<int>(portable);
}

}  // namespace replay
