-- The requests of bench/service_bench for wrk 4.1 (LuaJIT).
--
--   wrk -t T -c C -d Ns --latency -s service_bench.lua http://127.0.0.1:PORT -- MODE DIR T
--
-- MODE  floor   GET /health again and again; every reply must be "ok"
--       first   the bodies of DIR/first.pack, each sent once: a thread that
--               has sent its share waits for the replies and stops
--       repeat  DIR/repeat.pack in turn, again and again
-- Thread k (from 0) of T takes bodies k+1, k+1+T, k+1+2T, ... of the pack,
-- so no two threads send the same body. Every check reply must begin with
-- "[recheck_str]" and end with the "[total_points]" section.
--
-- done() prints one line "service_bench-result NAME=VALUE ..." for the
-- driver: the rate is the answered requests over the time from the first
-- request to the last reply (wrk's own figure counts its whole duration,
-- even after threads ran out of bodies); latencies are wrk's.
local ffi = require("ffi")
ffi.cdef([[
typedef struct { long tv_sec; long tv_nsec; } service_bench_clock_time;
int clock_gettime(int clock, service_bench_clock_time* time);
]])
local CLOCK_MONOTONIC = 1
local clockTime = ffi.new("service_bench_clock_time")

local function now()
   ffi.C.clock_gettime(CLOCK_MONOTONIC, clockTime)
   return tonumber(clockTime.tv_sec) + tonumber(clockTime.tv_nsec) * 1e-9
end

local PARK_MS = 3600 * 1000 -- longer than any run: the connection sends no more

-- Main state: the threads, for done().
local threads = {}

function setup(thread)
   thread:set("id", #threads)
   table.insert(threads, thread)
end

-- Thread state.
local requests, cyclic, health
local nextIndex = 1
local running = false
-- What done() reads through thread:get().
issued, replies, non2xx, errorReplies, badReplies = 0, 0, 0, 0, 0
started, lastReply, finished, bodies = nil, nil, false, 0

local function readFile(path)
   local file = assert(io.open(path, "rb"))
   local text = file:read("*a")
   file:close()
   return text
end

local function loadPack(dir, name, share, of)
   local contentType = readFile(dir .. "/content-type")
   local index = assert(io.open(dir .. "/" .. name .. ".index", "rb"))
   local pack = assert(io.open(dir .. "/" .. name .. ".pack", "rb"))
   local list, n = {}, 0
   for line in index:lines() do
      local offset, length = line:match("^(%d+) (%d+)$")
      assert(offset, "a malformed line in " .. name .. ".index")
      if n % of == share then
         pack:seek("set", tonumber(offset))
         local body = pack:read(tonumber(length))
         assert(body and #body == tonumber(length), "a short body in " .. name .. ".pack")
         list[#list + 1] = wrk.format("POST", "/versionchecker.aspx",
                                      { ["Content-Type"] = contentType }, body)
      end
      n = n + 1
   end
   index:close()
   pack:close()
   return list
end

function init(args)
   mode = args[1] -- global: done() reads it through thread:get()
   local dir, of = args[2], tonumber(args[3])
   assert(of and of >= 1, "usage: -- MODE DIR THREADS")
   health = wrk.format("GET", "/health") -- here, once wrk.init set the Host header
   if mode == "floor" then
      requests, cyclic = { health }, true
   elseif mode == "first" then
      requests, cyclic = loadPack(dir, "first", id, of), false
   elseif mode == "repeat" then
      requests, cyclic = loadPack(dir, "repeat", id, of), true
   else
      error("unknown mode " .. tostring(mode))
   end
   assert(#requests > 0, "thread " .. id .. " has no bodies; use fewer threads or more users")
   bodies = #requests
end

-- wrk asks delay() before each request of a running connection (and not
-- when it checks the request once before the threads start).
function delay()
   running = true
   if not cyclic and nextIndex > #requests then
      return PARK_MS
   end
   return 0
end

function request()
   if not running then
      return requests[1] -- wrk's look at the request's form; not sent
   end
   if started == nil then
      started = now()
   end
   if cyclic then
      local r = requests[nextIndex]
      nextIndex = nextIndex % #requests + 1
      issued = issued + 1
      return r
   end
   if nextIndex > #requests then
      -- Only after a reconnection: nothing fresh is left, so nothing is checked.
      return health
   end
   local r = requests[nextIndex]
   nextIndex = nextIndex + 1
   issued = issued + 1
   return r
end

function response(status, headers, body)
   if mode ~= "floor" and body == "ok" then
      return -- a filler sent after a reconnection
   end
   replies = replies + 1
   lastReply = now()
   if status < 200 or status > 299 then
      non2xx = non2xx + 1
   elseif body:sub(1, 6) == "error:" then
      errorReplies = errorReplies + 1
   elseif mode == "floor" then
      if body ~= "ok" then
         badReplies = badReplies + 1
      end
   elseif body:sub(1, 15) ~= "[recheck_str]\r\n"
      or not body:find("\r\n[total_points]\r\n", math.max(1, #body - 40), true) then
      badReplies = badReplies + 1
   end
   if not cyclic and nextIndex > #requests and replies == issued then
      finished = true
      wrk.thread:stop()
   end
end

function done(summary, latency)
   local total = { issued = 0, replies = 0, non2xx = 0, errorReplies = 0, badReplies = 0,
                   bodies = 0, finished = 0 }
   local first, last, runMode
   for _, thread in ipairs(threads) do
      runMode = thread:get("mode")
      for name, _ in pairs(total) do
         local value = thread:get(name)
         if type(value) == "boolean" then
            value = value and 1 or 0
         end
         total[name] = total[name] + (value or 0)
      end
      local s, e = thread:get("started"), thread:get("lastReply")
      if s and (first == nil or s < first) then
         first = s
      end
      if e and (last == nil or e > last) then
         last = e
      end
   end
   local seconds = (first and last and last > first) and (last - first) or 0
   local errors = summary.errors
   io.write(string.format(
      "service_bench-result mode=%s replies=%d issued=%d bodies=%d finished_threads=%d/%d " ..
      "seconds=%.3f rate=%.1f p50_ms=%.3f p99_ms=%.3f max_ms=%.3f non2xx=%d error_replies=%d " ..
      "bad_replies=%d socket_errors=%d\n",
      runMode or "?", total.replies, total.issued, total.bodies, total.finished, #threads,
      seconds, seconds > 0 and total.replies / seconds or 0,
      latency:percentile(50) / 1000, latency:percentile(99) / 1000, latency.max / 1000,
      total.non2xx, total.errorReplies, total.badReplies,
      errors.connect + errors.read + errors.write + errors.timeout))
end
