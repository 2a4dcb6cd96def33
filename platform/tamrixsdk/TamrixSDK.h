/* TamrixSDK: access to a D9 Ividiv server.
 *
 * A library handle (hub) pumps the network work of its connection handles.
 * Every callback runs inside hub_sdk_messagequeue_process, on the thread that
 * calls it, and nowhere else; no function blocks for network I/O. A handle of
 * 0, or one already released, is accepted everywhere and does nothing.
 *
 * One synchronisation: ptc_handle_alloc, the three ptc_notify_* calls,
 * ptc_objectdata_subscribe(handle, PTC_OBJECTDATA_TRANSPONDER), ptc_connect,
 * then hub_sdk_messagequeue_process until the transponder callback reports
 * PTC_TRANSPONDER_COMPLETE; walk the records with ptc_transponder_get_head /
 * ptc_transponder_get_next; ptc_disconnect.
 *
 * Environment, read at every ptc_connect:
 *   TAMRIX_SDK_CA_FILE  PEM file that is the only trust anchor (else the
 *                       system's certificate store)
 *   TAMRIX_SDK_PORT     server port (default 443)
 *   TAMRIX_SDK_STALL_TIMEOUT_MS  longest silence of a transfer before it
 *                       fails (default 15000, 100 to 600000)
 */
#ifndef TAMRIX_SDK_H
#define TAMRIX_SDK_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint64_t hub_sdk_handle_t; /* library handle, 0 = none */
typedef uint64_t ptc_handle_t;     /* connection handle, 0 = none */

/* Connection states passed to the connection-state callback. */
enum {
    PTC_STATE_CONNECTING = 1,     /* about to reach the server */
    PTC_STATE_FAILED = 2,         /* unreachable, TLS, time-out, bad answer */
    PTC_STATE_AUTHENTICATING = 3, /* about to send the credentials */
    PTC_STATE_REJECTED = 4        /* wrong user name or password */
};

/* Subscription for ptc_objectdata_subscribe: the transponder records. */
#define PTC_OBJECTDATA_TRANSPONDER 6u
/* First value of the transponder callback: the whole record set is there. */
#define PTC_TRANSPONDER_COMPLETE 0u
/* Last argument of ptc_connect; the certificate is verified whatever it is. */
#define PTC_CONNECT_VERIFY 1
/* Short id of a record without one. */
#define PTC_SHORT_ID_NONE 0xFFFFFFFFu
/* Longest label in bytes, without its NUL. */
#define PTC_LABEL_MAX 255u

/* A transponder record. The label is Windows-1252, NUL-terminated, and runs
 * past the declared array up to PTC_LABEL_MAX bytes. */
typedef struct ptc_transponder_t {
    uint32_t id;          /* offset 0 */
    uint32_t reserved0;   /* offset 4 */
    uint32_t short_id;    /* offset 8, PTC_SHORT_ID_NONE for none */
    uint32_t record_size; /* offset 12, bytes up to the next record */
    uint64_t reserved1;   /* offset 16 */
    char label[1];        /* offset 24, runs on to its NUL */
} ptc_transponder_t;

/* handle: the connection; the last argument is the context of ptc_handle_alloc. */
typedef void (*ptc_connect_callback_t)(ptc_handle_t handle, uint8_t connected, void* context);
typedef void (*ptc_connectionstate_callback_t)(ptc_handle_t handle, int32_t state, void* context);
/* event PTC_TRANSPONDER_COMPLETE: count = records held, altered = labels that
 * lost characters or were cut on their way into Windows-1252. */
typedef void (*ptc_transponder_callback_t)(ptc_handle_t handle, uint32_t event, uint32_t count,
                                           uint32_t altered, void* context);

/* appName goes into the User-Agent; flags must be 0. */
hub_sdk_handle_t hub_sdk_alloc(const char* appName, uint32_t flags);
/* Drives the transfers without waiting and runs the callbacks due; returns
 * how many ran. The three reserved values must be 0. Re-entered from a
 * callback it does nothing. */
int32_t hub_sdk_messagequeue_process(hub_sdk_handle_t hub, uint32_t reserved1, uint32_t reserved2,
                                     uint32_t reserved3);
/* Releases the hub and every connection on it; pending callbacks never run. */
void hub_sdk_dealloc(hub_sdk_handle_t hub);

ptc_handle_t ptc_handle_alloc(hub_sdk_handle_t hub, void* context);
/* Cancels any transfer; no callback of this handle runs afterwards. */
void ptc_handle_dealloc(hub_sdk_handle_t hub, ptc_handle_t handle);

/* Each returns 1 when the handle is live, else 0. */
int32_t ptc_notify_connect(ptc_handle_t handle, ptc_connect_callback_t callback);
int32_t ptc_notify_connectionstate(ptc_handle_t handle, ptc_connectionstate_callback_t callback);
int32_t ptc_notify_transponder(ptc_handle_t handle, ptc_transponder_callback_t callback);
/* 1 when the object type is known (PTC_OBJECTDATA_TRANSPONDER). */
int32_t ptc_objectdata_subscribe(ptc_handle_t handle, uint32_t objectType);

/* Starts over: cancels what runs, forgets the records, and starts connecting
 * to https://host:port. user and password are Windows-1252, as every text of
 * this library; they go to the server as UTF-8. The password is wiped once
 * sent. Returns 1 when started; the outcome arrives through the callbacks. */
int32_t ptc_connect(ptc_handle_t handle, const char* host, const char* user, const char* password,
                    int32_t verify);
/* Records of the last complete synchronisation, in the server's order. The
 * pointers stay valid until the next ptc_connect or ptc_handle_dealloc. */
const ptc_transponder_t* ptc_transponder_get_head(ptc_handle_t handle);
const ptc_transponder_t* ptc_transponder_get_next(ptc_handle_t handle);
/* Cancels any transfer; the records stay readable. */
void ptc_disconnect(ptc_handle_t handle);

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
static_assert(offsetof(ptc_transponder_t, id) == 0, "transponder id at 0");
static_assert(offsetof(ptc_transponder_t, short_id) == 8, "short id at 8");
static_assert(offsetof(ptc_transponder_t, label) == 24, "label at 24");
#else
_Static_assert(offsetof(ptc_transponder_t, id) == 0, "transponder id at 0");
_Static_assert(offsetof(ptc_transponder_t, short_id) == 8, "short id at 8");
_Static_assert(offsetof(ptc_transponder_t, label) == 24, "label at 24");
#endif

#endif
