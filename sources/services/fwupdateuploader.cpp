#include "fwupdateuploader.h"

FwUpdateUploader::FwUpdateUploader(QObject* parent) : QObject(parent) {}
