// A headless Chromium driven through its DevTools protocol over a pipe
// (--remote-debugging-pipe: JSON messages ended by NUL on file descriptors 3
// and 4), with no npm package: the page's browser test opens the page, sets
// files on its input, clicks and collects downloads and network events.
import { spawn, spawnSync } from 'node:child_process';

/** The first Chromium found on the PATH, or undefined. */
export const chromium = ['chromium', 'chromium-browser', 'google-chrome'].find(
  (name) => spawnSync(name, ['--version']).status === 0);

export class Browser {
  constructor(profile, env) {
    this.process = spawn(chromium, ['--headless=new', '--no-sandbox', '--disable-gpu',
      '--no-first-run', '--no-default-browser-check', '--remote-debugging-pipe',
      `--user-data-dir=${profile}`, 'about:blank'],
    { env, stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
    this.next = 0;
    this.pending = new Map();
    this.listeners = [];
    this.stderr = '';
    this.process.stderr.on('data', (chunk) => { this.stderr += chunk; });
    let buffered = '';
    this.process.stdio[4].on('data', (chunk) => {
      buffered += chunk.toString('utf8');
      let end;
      while ((end = buffered.indexOf('\0')) >= 0) {
        this.received(JSON.parse(buffered.slice(0, end)));
        buffered = buffered.slice(end + 1);
      }
    });
    this.exited = new Promise((resolve) => this.process.on('exit', resolve));
    this.exited.then(() => {
      for (const { reject } of this.pending.values()) {
        reject(new Error(`chromium ended: ${this.stderr.slice(-2000)}`));
      }
    });
  }

  received(message) {
    if (message.id !== undefined) {
      const waiting = this.pending.get(message.id);
      this.pending.delete(message.id);
      if (message.error) waiting?.reject(new Error(`${waiting.method}: ${message.error.message}`));
      else waiting?.resolve(message.result);
    } else {
      for (const listener of this.listeners) listener(message);
    }
  }

  /** Sends a command (to the session `sessionId`, or to the browser). */
  send(method, params = {}, sessionId = undefined) {
    const id = ++this.next;
    this.process.stdio[3].write(`${JSON.stringify({ id, method, params, sessionId })}\0`);
    return new Promise((resolve, reject) => this.pending.set(id, { resolve, reject, method }));
  }

  /** Calls `listener(message)` for every event. */
  on(listener) {
    this.listeners.push(listener);
  }

  /** The first event that `test` accepts, within `ms`. */
  waitFor(test, ms, what) {
    return new Promise((resolve, reject) => {
      const timer = setTimeout(() => reject(new Error(`no ${what} within ${ms} ms`)), ms);
      const listener = (message) => {
        if (test(message)) {
          clearTimeout(timer);
          this.listeners.splice(this.listeners.indexOf(listener), 1);
          resolve(message);
        }
      };
      this.on(listener);
    });
  }

  async close() {
    this.send('Browser.close').catch(() => {});
    const timer = setTimeout(() => this.process.kill('SIGKILL'), 5000);
    await this.exited;
    clearTimeout(timer);
  }
}
