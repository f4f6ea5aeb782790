// The other window of the compositor test: a plain window that, once the compositor has made it
// the focused one, asks for an xdg-activation token as a launcher does, prints it and stays open.
// It asks from its focused surface, with the seat and the serial of its last keyboard event when
// the seat has a keyboard; without one (a headless sway has none) the surface alone asks.
#define _GNU_SOURCE
#include "xdg-activation-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

enum
{
    Side = 64
};

static struct wl_compositor *compositor;
static struct wl_shm *shm;
static struct wl_seat *seat;
static struct xdg_wm_base *shell;
static struct xdg_activation_v1 *activation;
static struct wl_surface *surface;
static struct wl_keyboard *keyboard;
static int activated, asked, drawn, hasSerial;
static uint32_t serial;

static void global(void *data, struct wl_registry *registry, uint32_t name, const char *interface,
    uint32_t version)
{
    if (!strcmp(interface, wl_compositor_interface.name))
        compositor = wl_registry_bind(registry, name, &wl_compositor_interface, 1);
    else if (!strcmp(interface, wl_shm_interface.name))
        shm = wl_registry_bind(registry, name, &wl_shm_interface, 1);
    else if (!strcmp(interface, wl_seat_interface.name) && !seat)
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    else if (!strcmp(interface, xdg_wm_base_interface.name))
        shell = wl_registry_bind(registry, name, &xdg_wm_base_interface, 1);
    else if (!strcmp(interface, xdg_activation_v1_interface.name))
        activation = wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1);
}
static void globalRemoved(void *data, struct wl_registry *registry, uint32_t name) { }
static const struct wl_registry_listener registryListener = {global, globalRemoved};

// Every keyboard event's serial is one the compositor gave this client.
static void keymap(void *data, struct wl_keyboard *from, uint32_t format, int fd, uint32_t size)
{
    close(fd);
}
static void enter(void *data, struct wl_keyboard *from, uint32_t eventSerial,
    struct wl_surface *entered, struct wl_array *keys)
{
    serial = eventSerial, hasSerial = 1;
}
static void leave(
    void *data, struct wl_keyboard *from, uint32_t eventSerial, struct wl_surface *left)
{
    serial = eventSerial, hasSerial = 1;
}
static void key(void *data, struct wl_keyboard *from, uint32_t eventSerial, uint32_t time,
    uint32_t code, uint32_t state)
{
    serial = eventSerial, hasSerial = 1;
}
static void modifiers(void *data, struct wl_keyboard *from, uint32_t eventSerial,
    uint32_t depressed, uint32_t latched, uint32_t locked, uint32_t group)
{
    serial = eventSerial, hasSerial = 1;
}
static const struct wl_keyboard_listener keyboardListener
    = {.keymap = keymap, .enter = enter, .leave = leave, .key = key, .modifiers = modifiers};

static void capabilities(void *data, struct wl_seat *changed, uint32_t caps)
{
    if ((caps & WL_SEAT_CAPABILITY_KEYBOARD) && !keyboard) {
        keyboard = wl_seat_get_keyboard(changed);
        wl_keyboard_add_listener(keyboard, &keyboardListener, NULL);
    }
}
static const struct wl_seat_listener seatListener = {.capabilities = capabilities};

static void ping(void *data, struct xdg_wm_base *pinged, uint32_t pingSerial)
{
    xdg_wm_base_pong(pinged, pingSerial);
}
static const struct xdg_wm_base_listener shellListener = {ping};

static void tokenDone(void *data, struct xdg_activation_token_v1 *token, const char *text)
{
    printf("%s\n", text);
    fflush(stdout);
    xdg_activation_token_v1_destroy(token);
}
static const struct xdg_activation_token_v1_listener tokenListener = {tokenDone};

static void toplevelConfigure(void *data, struct xdg_toplevel *toplevel, int32_t width,
    int32_t height, struct wl_array *states)
{
    const uint32_t *state;
    activated = 0;
    wl_array_for_each(state, states) activated |= *state == XDG_TOPLEVEL_STATE_ACTIVATED;
}
static void toplevelClose(void *data, struct xdg_toplevel *toplevel) { }
static const struct xdg_toplevel_listener toplevelListener
    = {.configure = toplevelConfigure, .close = toplevelClose};

// A white square the first time; the token once the window is the focused one.
static void surfaceConfigure(void *data, struct xdg_surface *xdgSurface, uint32_t configureSerial)
{
    xdg_surface_ack_configure(xdgSurface, configureSerial);
    if (!drawn) {
        const int fd = memfd_create("other-window", 0), bytes = Side * Side * 4;
        if (fd < 0 || ftruncate(fd, bytes) != 0)
            return;
        void *pixels = mmap(NULL, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (pixels != MAP_FAILED)
            memset(pixels, 0xff, bytes), munmap(pixels, bytes);
        struct wl_shm_pool *pool = wl_shm_create_pool(shm, fd, bytes);
        wl_surface_attach(surface,
            wl_shm_pool_create_buffer(pool, 0, Side, Side, Side * 4, WL_SHM_FORMAT_XRGB8888), 0, 0);
        wl_shm_pool_destroy(pool);
        close(fd);
        drawn = 1;
    }
    wl_surface_commit(surface);
    if (activated && !asked) {
        struct xdg_activation_token_v1 *token = xdg_activation_v1_get_activation_token(activation);
        xdg_activation_token_v1_add_listener(token, &tokenListener, NULL);
        if (hasSerial)
            xdg_activation_token_v1_set_serial(token, serial, seat);
        xdg_activation_token_v1_set_surface(token, surface);
        xdg_activation_token_v1_commit(token);
        fprintf(stderr, "activation-client: asked with %s\n",
            hasSerial ? "the seat, a keyboard serial and the focused surface"
                      : "the focused surface alone");
        asked = 1;
    }
}
static const struct xdg_surface_listener surfaceListener = {surfaceConfigure};

int main(void)
{
    struct wl_display *display = wl_display_connect(NULL);
    if (!display)
        return fputs("activation-client: no Wayland display\n", stderr), 1;
    wl_registry_add_listener(wl_display_get_registry(display), &registryListener, NULL);
    wl_display_roundtrip(display);
    if (!compositor || !shm || !shell || !activation)
        return fputs("activation-client: no xdg-shell or xdg-activation\n", stderr), 1;
    if (seat) {
        wl_seat_add_listener(seat, &seatListener, NULL);
        wl_display_roundtrip(display); // the keyboard, before the window can have the focus
    }
    xdg_wm_base_add_listener(shell, &shellListener, NULL);
    surface = wl_compositor_create_surface(compositor);
    struct xdg_surface *xdgSurface = xdg_wm_base_get_xdg_surface(shell, surface);
    xdg_surface_add_listener(xdgSurface, &surfaceListener, NULL);
    struct xdg_toplevel *toplevel = xdg_surface_get_toplevel(xdgSurface);
    xdg_toplevel_add_listener(toplevel, &toplevelListener, NULL);
    xdg_toplevel_set_app_id(toplevel, "quillmark-test-other");
    wl_surface_commit(surface);
    while (wl_display_dispatch(display) != -1) { }
    return 0;
}
