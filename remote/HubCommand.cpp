#include "remote/HubCommand.h"

bool HubCommand::IsMove() const {
  return Command != RotatorCommand::StopAll && Command != RotatorCommand::StopAxis1 &&
         Command != RotatorCommand::StopAxis2;
}
