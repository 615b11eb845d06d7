#include "model/AppState.h"

void AppState::buildCatalogue()
{
    catalogue.build();
    language = "zh-CN";
}

void AppState::resetKeyModel()
{
    reset(deviceType);
}
