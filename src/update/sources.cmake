target_sources(lotgrid_ui PRIVATE
    update/updatewizard.h update/updatewizard.cpp
    update/versionfetch.h update/versionfetch.cpp
)
