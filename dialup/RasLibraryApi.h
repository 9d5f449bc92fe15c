#pragma once
// The ten RAS operations over the real RAS library, bound at run time through TRasBinding.
// Every call resolves its function afresh, so the binding alone decides which library serves.
#include "dialup/RasApi.h"
#include "dialup/RasBinding.h"

class TRasLibraryApi : public IRasApi {
public:
    explicit TRasLibraryApi(TRasBinding& binding);

    uint32_t RasEnumEntries(TRasEntryNameA* entries, uint32_t* byteCount, uint32_t* count) override;
    uint32_t RasEnumConnections(TRasConnA* connections, uint32_t* byteCount,
                                uint32_t* count) override;
    uint32_t RasGetConnectStatus(THRasConn connection, TRasConnStatusA* status) override;
    uint32_t RasHangUp(THRasConn connection) override;
    uint32_t RasGetErrorString(uint32_t error, char* text, uint32_t size) override;
    uint32_t RasGetEntryDialParams(TRasDialParamsA* params, int32_t* passwordSaved) override;
    uint32_t RasGetEntryProperties(const char* entryName, TRasEntryA* entry,
                                   uint32_t* entrySize) override;
    uint32_t RasDeleteEntry(const char* entryName) override;
    uint32_t RasDial(TRasDialParamsA* params, TRasDialFunc notifier,
                     THRasConn* connection) override;
    uint32_t RasConnectionNotification(THRasConn connection, ISyncEvent* event,
                                       uint32_t flags) override;

private:
    TRasBinding& FBinding;
};

// The process-wide RAS port over RasBinding().
IRasApi& SystemRasApi();
