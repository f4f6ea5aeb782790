#include "activationtoken.h"

#include <QtGlobal>

namespace {

constexpr char Variable[] = "XDG_ACTIVATION_TOKEN";

} // namespace

QString takeActivationToken()
{
    const QString token = qEnvironmentVariable(Variable);
    qunsetenv(Variable);
    return token;
}

ActivationTokenInEnvironment::ActivationTokenInEnvironment(const QString &token)
{
    if (!token.isEmpty())
        qputenv(Variable, token.toUtf8());
}

ActivationTokenInEnvironment::~ActivationTokenInEnvironment()
{
    qunsetenv(Variable);
}
