#include "serial/SioBaseComponent.h"

void TSioBaseComponent::EndLoading() {
  loading_.store(false);
  AfterLoad();
}
