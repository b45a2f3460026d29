#!/usr/bin/env python3
"""Drives qx7d's phone page in headless Chromium through WebDriver.

Usage: phone_page_check.py PAIRING_URL [SCREENSHOT_FOLDER]
Loads the page with the token of the URL, moves the music volume with the
keyboard and prints "music=N" with the value it shows; then sets the mic
volume through the API and waits for the page to show it. Exit status 0
when every step was seen."""
import json
import os
import sys
import tempfile
import time
import urllib.parse
import urllib.request

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

SIZES = {"phone": (390, 844), "tablet": (820, 1180)}


def browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--user-data-dir=" + profile):
        options.add_argument(flag)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def viewport(driver, name):
    width, height = SIZES[name]
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": width, "height": height, "deviceScaleFactor": 2,
                            "mobile": name == "phone"})


def api_put(url, token, path, body):
    parts = urllib.parse.urlsplit(url)
    request = urllib.request.Request(f"{parts.scheme}://{parts.netloc}{path}", method="PUT",
                                     data=json.dumps(body).encode(),
                                     headers={"Authorization": "Bearer " + token,
                                              "Content-Type": "application/json"})
    with urllib.request.urlopen(request, timeout=10) as reply:
        return json.load(reply)


def main():
    url = sys.argv[1]
    shots = sys.argv[2] if len(sys.argv) > 2 else ""
    token = url.split("#token=", 1)[1]
    with tempfile.TemporaryDirectory() as profile:
        driver = browser(profile)
        try:
            wait = WebDriverWait(driver, 30)
            viewport(driver, "phone")
            driver.get(url)
            wait.until(lambda d: d.find_element(By.ID, "state").get_attribute("data-state") == "connected")
            slider = driver.find_element(By.ID, "vol-music")
            wait.until(lambda d: slider.is_enabled() and d.find_element(By.ID, "source-HDMI1"))
            start = int(slider.get_attribute("value"))
            for _ in range(5):
                slider.send_keys(Keys.ARROW_RIGHT)
            moved = int(slider.get_attribute("value"))
            if moved != start + 5:
                print(f"the slider moved from {start} to {moved}", file=sys.stderr)
                return 1
            print(f"music={moved}", flush=True)

            api_put(url, token, "/api/v1/master", {"mic": 33})
            wait.until(lambda d: d.find_element(By.ID, "out-mic").text == "33 %")
            wait.until(lambda d: d.find_element(By.ID, "vol-mic").get_attribute("value") == "33")

            if shots:
                os.makedirs(shots, exist_ok=True)
                for name in SIZES:
                    viewport(driver, name)
                    time.sleep(0.3)  # a layout pass after the resize; nothing to await in the page
                    driver.save_screenshot(os.path.join(shots, f"phone-page-{name}.png"))
                viewport(driver, "phone")
                driver.execute_script("const s = document.getElementById('language');"
                                      "s.value = '0'; s.dispatchEvent(new Event('change'));")
                wait.until(lambda d: d.find_element(By.ID, "mute").text != "Mute")
                driver.save_screenshot(os.path.join(shots, "phone-page-phone-zh.png"))
            return 0
        finally:
            driver.quit()


if __name__ == "__main__":
    sys.exit(main())
