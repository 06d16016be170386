# The update server an executable talks to is fixed when it is built. The shipped build asks
# the maker's server and accepts only manifests signed with the maker's key (its secret key is
# not in this repository). The test build asks a server the tests run on 127.0.0.1 and accepts
# manifests signed with the tests' own throwaway key (tests/e2e/update_keys.py).
set(MOZHOU_UPDATE_HOST "update.mozhou.example" CACHE STRING "Host of the update server")
set(MOZHOU_UPDATE_PORT 80 CACHE STRING "Port of the update server")
set(MOZHOU_UPDATE_PUBLIC_KEY "61d8435b9d056cea29f461c4221521c86386d20747d38d60b3f48f8496cefd22"
    CACHE STRING "Ed25519 public key the update manifests are signed with, hexadecimal")
set(MOZHOU_UPDATE_TIMEOUT_MS 10000 CACHE STRING "Connect and receive timeout of update requests")
set(MOZHOU_UPDATE_DEADLINE_MS 20000 CACHE STRING "Longest time an update request may take")

set(MOZHOU_TEST_UPDATE_PORT 47613 CACHE STRING "Port of the tests' update server on 127.0.0.1")
set(MOZHOU_TEST_UPDATE_PUBLIC_KEY "854d08969ea8967a534af81a8538a902b980c77145133bea8fefa3425cfb3d20")

# mozhou_update_server(<target> shipped|test)
function(mozhou_update_server target variant)
    if(variant STREQUAL "shipped")
        set(host ${MOZHOU_UPDATE_HOST})
        set(port ${MOZHOU_UPDATE_PORT})
        set(key ${MOZHOU_UPDATE_PUBLIC_KEY})
        set(timeout ${MOZHOU_UPDATE_TIMEOUT_MS})
        set(deadline ${MOZHOU_UPDATE_DEADLINE_MS})
    elseif(variant STREQUAL "test")
        set(host 127.0.0.1)
        set(port ${MOZHOU_TEST_UPDATE_PORT})
        set(key ${MOZHOU_TEST_UPDATE_PUBLIC_KEY})
        # Short waits keep the cases with a silent server quick; the rule is the same.
        set(timeout 3000)
        set(deadline 6000)
    else()
        message(FATAL_ERROR "mozhou_update_server: unknown variant ${variant}")
    endif()
    set(settings ${CMAKE_BINARY_DIR}/update_server_${target}.cpp)
    file(GENERATE OUTPUT ${settings} CONTENT
"#define MOZHOU_UPDATE_HOST \"${host}\"
#define MOZHOU_UPDATE_PORT ${port}
#define MOZHOU_UPDATE_PUBLIC_KEY \"${key}\"
#define MOZHOU_UPDATE_TIMEOUT_MS ${timeout}
#define MOZHOU_UPDATE_DEADLINE_MS ${deadline}
#include \"update/built_in_update_server.cpp\"
")
    target_sources(${target} PRIVATE ${settings})
endfunction()
