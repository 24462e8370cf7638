// PLACEHOLDER: replaced by the descriptions work.
#include "ui/text/LocalePictures.h"

LocalePictures g_localePictures;

void LocalePictures::Prepare() {}
