find_package(Qt6 REQUIRED COMPONENTS Widgets)

add_library(quorvel_dialog OBJECT
    control_heights.cpp
    dialog_units.cpp
    expression_history.cpp
    failure_tooltip.cpp
    platform_choice.cpp
    quorvel_app.cpp
    quorvel_dlg.cpp
    single_line_edit.cpp
    resources/quorvel.qrc
)
set_target_properties(quorvel_dialog PROPERTIES AUTOMOC ON AUTORCC ON)
target_link_libraries(quorvel_dialog PUBLIC quorvel_request Qt6::Widgets)

add_executable(quorvel main.cpp)
target_link_libraries(quorvel PRIVATE quorvel_dialog)
