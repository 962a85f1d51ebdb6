-- The window as the other two runners open it, vsync off; unused modules off.
function love.conf(t)
    t.window.title = "MainWindow"
    t.window.width = 800
    t.window.height = 600
    t.window.vsync = 0
    t.window.msaa = 0
    t.modules.audio = false
    t.modules.sound = false
    t.modules.joystick = false
    t.modules.physics = false
    t.modules.video = false
    t.modules.touch = false
end
