#include "transfer/TransferPlatform.h"

TransferPlatform& Platform() {
    static TransferPlatform platform;
    return platform;
}
