-- Bunnymark: N copies of one small image move, bounce and are drawn every
-- frame with one love.graphics.draw each. Arguments: N, measured seconds,
-- warm-up seconds, and optionally frames a second to hold to (as the other
-- runners' 60). Markers go to stderr for the harness.
local count, seconds, warmup, cap = 0, 5, 1, nil
local lastFrame
local xs, ys, vxs, vys = {}, {}, {}, {}
local image, ox, oy
local frames, started, ended, startTotal, endTotal, total = 0, false, false, 0, 0, 0
local seed = 12345

-- The same generator as the C++ and script versions (32-bit LCG); the
-- product is taken in 16-bit halves so that doubles keep it exact.
local function random()
    local hi, lo = math.floor(seed / 65536), seed % 65536
    seed = (lo * 1103515245 + ((hi * 1103515245) % 65536) * 65536 + 12345) % 4294967296
    return math.floor(seed / 256) % 65536 / 65536
end

function love.load(args)
    local numbers = {}
    for _, a in ipairs(args) do
        local n = tonumber(a)
        if n then numbers[#numbers + 1] = n end
    end
    count = numbers[1] or 0
    seconds = numbers[2] or seconds
    warmup = numbers[3] or warmup
    cap = numbers[4]
    io.stderr:write("renderer " .. table.concat({love.graphics.getRendererInfo()}, " ") .. "\n")
    image = love.graphics.newImage("bunny.png")
    -- The hot spot in the middle, as ledge puts it.
    ox, oy = math.floor(image:getWidth() / 2), math.floor(image:getHeight() / 2)
    for i = 1, count do
        xs[i] = random() * 800
        ys[i] = random() * 300
        vxs[i] = random() * 10 - 5
        vys[i] = random() * 10 - 5
    end
end

local function mark(text)
    io.stderr:write(text .. "\n")
    io.stderr:flush()
end

function love.update(dt)
    if cap then
        -- What is left of the frame is slept, as a frame limit does.
        local now = love.timer.getTime()
        if lastFrame and now - lastFrame < 1 / cap then
            love.timer.sleep(1 / cap - (now - lastFrame))
        end
        lastFrame = love.timer.getTime()
    end
    total = total + dt
    if not started and total >= warmup then
        started = true
        startTotal = total
        frames = 0
        mark("bench start")
    end
    if started and not ended and total - startTotal >= seconds then
        ended = true
        endTotal = total
        mark(string.format("bench end frames=%d seconds=%.4f", frames, total - startTotal))
    end
    if ended and total - endTotal > 1 then
        love.event.quit()
        return
    end
    frames = frames + 1
    for i = 1, count do
        xs[i] = xs[i] + vxs[i]
        ys[i] = ys[i] + vys[i]
        vys[i] = vys[i] + 0.75
        if xs[i] > 800 then
            vxs[i] = -vxs[i]
            xs[i] = 800
        elseif xs[i] < 0 then
            vxs[i] = -vxs[i]
            xs[i] = 0
        end
        if ys[i] > 600 then
            vys[i] = vys[i] * -0.85
            ys[i] = 600
            if vys[i] > -4 then vys[i] = -10 end
        elseif ys[i] < 0 then
            vys[i] = 0
            ys[i] = 0
        end
    end
end

function love.draw()
    for i = 1, count do
        love.graphics.draw(image, math.floor(xs[i]), math.floor(ys[i]), 0, 1, 1, ox, oy)
    end
end
