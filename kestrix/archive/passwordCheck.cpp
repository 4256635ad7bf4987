#include "kestrix/archive/passwordCheck.h"

#include "kestrix/archive/ArchiveDatabase.h"
#include "kestrix/archive/ArchiveError.h"

#include <QUrl>
#include <cstdlib>
#include <cstring>
#include <security/pam_appl.h>

namespace kestrix::archive {

namespace {

// Answers every prompt with the password; PAM frees the answers.
int AnswerWithPassword(int count, const pam_message** messages, pam_response** responses,
                       void* password) {
    auto* answers = static_cast<pam_response*>(std::calloc(count, sizeof(pam_response)));
    if (answers == nullptr) {
        return PAM_BUF_ERR;
    }
    for (int i = 0; i < count; ++i) {
        const int style = messages[i]->msg_style;
        if (style == PAM_PROMPT_ECHO_OFF || style == PAM_PROMPT_ECHO_ON) {
            answers[i].resp = strdup(static_cast<const std::string*>(password)->c_str());
        }
    }
    *responses = answers;
    return PAM_SUCCESS;
}

bool WrongCredentials(int status) {
    return status == PAM_AUTH_ERR || status == PAM_USER_UNKNOWN || status == PAM_MAXTRIES ||
           status == PAM_PERM_DENIED || status == PAM_ACCT_EXPIRED;
}

} // namespace

PasswordVerdict CheckLoginPassword(const std::string& user, const std::string& password) {
    pam_conv conversation{AnswerWithPassword, const_cast<std::string*>(&password)};
    pam_handle_t* handle = nullptr;
    int status = pam_start(kPamService, user.c_str(), &conversation, &handle);
    if (status == PAM_SUCCESS) {
        status = pam_authenticate(handle, PAM_SILENT | PAM_DISALLOW_NULL_AUTHTOK);
    }
    if (status == PAM_SUCCESS) {
        status = pam_acct_mgmt(handle, PAM_SILENT);
    }
    const std::string reason = handle != nullptr ? pam_strerror(handle, status) : "";
    pam_end(handle, status);
    if (status == PAM_SUCCESS) {
        return PasswordVerdict::kAccepted;
    }
    if (WrongCredentials(status)) {
        return PasswordVerdict::kRefused;
    }
    throw ArchiveError("the password cannot be checked (PAM service \"" + std::string(kPamService) +
                       "\"): " + reason);
}

PasswordVerdict CheckServerPassword(const ArchiveSettings& settings, const std::string& password) {
    // A url without a password would log in with the session's or PGPASSWORD.
    if (password.empty()) {
        return PasswordVerdict::kRefused;
    }
    QUrl url(QString::fromStdString(settings.url));
    url.setPassword(QString::fromStdString(password), QUrl::DecodedMode);
    ArchiveSettings fresh = settings;
    fresh.url = url.toString(QUrl::FullyEncoded).toStdString();
    try {
        const ArchiveDatabase connection(fresh, Access::kRead);
        return PasswordVerdict::kAccepted;
    } catch (const ArchiveLoginRefused&) {
        return PasswordVerdict::kRefused;
    }
}

} // namespace kestrix::archive
