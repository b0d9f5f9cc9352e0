#pragma once

// The names Zentrik is known by on the desktop. The desktop file id is also
// the name of packaging/org.zentrik.Zentrik.desktop and the metainfo's id.
inline constexpr char kDesktopFileId[] = "org.zentrik.Zentrik";

// Well-known names on the session bus, one per program: the demo, with its
// virtual keypad, may run beside a Zentrik that holds a real one.
inline constexpr char kBusName[] = "org.zentrik.Zentrik";
inline constexpr char kDemoBusName[] = "org.zentrik.ZentrikDemo";

// The name zentrikctl holds while it has a keypad open itself; a window
// started meanwhile waits for it to go.
inline constexpr char kScriptBusName[] = "org.zentrik.Zentrikctl";
inline constexpr char kDemoScriptBusName[] = "org.zentrik.ZentrikctlDemo";
