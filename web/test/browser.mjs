// Headless Chromium on software WebGL, driven through the DevTools protocol
// over a pipe (nothing but node needed): open(url) starts the browser and a
// page, and gives evaluate, waitFor, send (any protocol method on the page)
// and close. The page's console lines are kept in `console` as they come;
// errors and uncaught exceptions count in `failures`.
import { spawn } from "node:child_process";
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

export const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// options: window ("W,H"), chromium (path), beforeLoad (a script run in the
// page before its own), onEvent (method, params) for every protocol event.
export async function open(url, options = {}) {
  const profile = mkdtempSync(join(tmpdir(), "kyl-chromium-"));
  const browser = spawn(options.chromium || "/usr/bin/chromium", [
    "--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
    "--autoplay-policy=no-user-gesture-required", "--disable-background-networking",
    "--disable-component-update", "--disable-sync", "--no-first-run",
    "--disable-background-timer-throttling", "--disable-renderer-backgrounding",
    `--user-data-dir=${profile}`, `--window-size=${options.window || "640,480"}`,
    "--remote-debugging-pipe", "about:blank",
  ], { stdio: ["ignore", "ignore", "pipe", "pipe", "pipe"] });
  browser.stderr.on("data", () => {});
  const toBrowser = browser.stdio[3];
  const fromBrowser = browser.stdio[4];

  const page = { console: [], failures: 0 };
  let nextId = 1;
  const waiting = new Map();
  let pending = Buffer.alloc(0);
  let session;
  fromBrowser.on("data", (chunk) => {
    pending = Buffer.concat([pending, chunk]);
    let end;
    while ((end = pending.indexOf(0)) >= 0) {
      const message = JSON.parse(pending.subarray(0, end).toString("utf8"));
      pending = pending.subarray(end + 1);
      if (message.id && waiting.has(message.id)) {
        const { resolve, reject } = waiting.get(message.id);
        waiting.delete(message.id);
        if (message.error) reject(new Error(JSON.stringify(message.error)));
        else resolve(message.result);
      } else if (message.method) {
        event(message.method, message.params);
      }
    }
  });

  function event(method, params) {
    if (method === "Runtime.consoleAPICalled") {
      const text = params.args.map((a) => (a.value !== undefined ? String(a.value) : a.description || "")).join(" ");
      page.console.push({ level: params.type, text });
      if (params.type === "error" || params.type === "assert") page.failures++;
    } else if (method === "Runtime.exceptionThrown") {
      const d = params.exceptionDetails;
      page.console.push({ level: "exception", text: (d.exception && d.exception.description) || d.text });
      page.failures++;
    }
    if (options.onEvent) options.onEvent(method, params);
  }

  function sendTo(target, method, params = {}) {
    const id = nextId++;
    const message = { id, method, params };
    if (target) message.sessionId = target;
    toBrowser.write(JSON.stringify(message) + "\0");
    return new Promise((resolve, reject) => waiting.set(id, { resolve, reject }));
  }
  // Browser-wide methods (Tracing) go without a session.
  page.sendBrowser = (method, params) => sendTo(undefined, method, params);
  page.send = (method, params) => sendTo(session, method, params);
  page.evaluate = async (expression) => {
    const result = await page.send("Runtime.evaluate", { expression, returnByValue: true, awaitPromise: true });
    if (result.exceptionDetails) throw new Error(`${expression}: ${result.exceptionDetails.text}`);
    return result.result.value;
  };
  page.waitFor = async (expression, seconds) => {
    const until = Date.now() + seconds * 1000;
    while (Date.now() < until) {
      if (await page.evaluate(expression)) return true;
      await sleep(250);
    }
    throw new Error(`timed out waiting for ${expression}`);
  };
  page.navigate = (to) => page.send("Page.navigate", { url: to });
  page.close = async () => {
    const exited = new Promise((resolve) => browser.once("exit", resolve));
    browser.kill("SIGTERM");
    await Promise.race([exited, sleep(5000)]);
    try {
      rmSync(profile, { recursive: true, force: true });
    } catch (error) {
      // A browser process still writing its profile: the folder is temporary.
    }
  };

  const { targetId } = await page.sendBrowser("Target.createTarget", { url: "about:blank" });
  ({ sessionId: session } = await page.sendBrowser("Target.attachToTarget", { targetId, flatten: true }));
  await page.send("Runtime.enable");
  await page.send("Page.enable");
  if (options.beforeLoad) await page.send("Page.addScriptToEvaluateOnNewDocument", { source: options.beforeLoad });
  if (url) await page.navigate(url);
  return page;
}
